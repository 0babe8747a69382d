# Checks that the program's PE header holds no time stamp, so that two builds of the
# same sources are the same file (the release's SHA256 can be checked by building it
# again). Reads the header's bytes; builds nothing. With STUB, the stamp must be that
# file's: the setup program keeps the one NSIS's prebuilt stub was built with.
# Usage: cmake -DEXE=... [-DSTUB=...] -P check-timestamp.cmake
cmake_minimum_required(VERSION 3.25)

# A little-endian 32-bit number at an offset of the file.
function(read_dword file offset out)
  file(READ "${file}" hex OFFSET ${offset} LIMIT 4 HEX)
  string(LENGTH "${hex}" length)
  if(NOT length EQUAL 8)
    message(FATAL_ERROR "${file}: cut short at offset ${offset}")
  endif()
  set(value "")
  foreach(i 6 4 2 0)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    string(APPEND value "${byte}")
  endforeach()
  math(EXPR number "0x${value}")
  set(${out} ${number} PARENT_SCOPE)
endfunction()

function(read_stamp file out)
  read_dword("${file}" 60 header)  # e_lfanew: where the "PE\0\0" signature starts
  math(EXPR stamp_at "${header} + 8")
  read_dword("${file}" ${stamp_at} stamp)
  set(${out} ${stamp} PARENT_SCOPE)
endfunction()

read_stamp("${EXE}" stamp)
set(expected 0)
if(STUB)
  read_stamp("${STUB}" expected)
endif()
if(NOT stamp EQUAL expected)
  message(FATAL_ERROR "${EXE}: the PE header holds a time stamp (${stamp}, expected ${expected}): builds of the same sources differ")
endif()
message(STATUS "${EXE}: the PE header's time stamp is ${expected}, fixed")
