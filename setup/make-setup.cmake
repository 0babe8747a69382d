# Makes the setup program OUT with NSIS (vantu.nsi beside this file) from EXE, the
# shipped vantu.exe, and README.txt and LICENSE.txt written beside OUT from the sources
# with CR LF line ends, which Notepad on Windows XP needs; the release zip takes the
# same two files (scripts/package).
# Usage: cmake -DMAKENSIS=... -DEXE=... -DVERSION=... -DOUT=... -P make-setup.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
get_filename_component(text "${OUT}" DIRECTORY)
foreach(pair "docs/README.txt;README.txt" "LICENSE;LICENSE.txt")
  list(GET pair 0 from)
  list(GET pair 1 to)
  file(READ "${source}/${from}" content)
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE "${text}/${to}" "${content}")
endforeach()
execute_process(
  COMMAND "${MAKENSIS}" -V2 -WX "-DVERSION=${VERSION}" "-DEXE=${EXE}" "-DTEXT=${text}"
          "-DICON=${source}/resources/chip.ico" "-DOUTFILE=${OUT}" "${CMAKE_CURRENT_LIST_DIR}/vantu.nsi"
  WORKING_DIRECTORY "${CMAKE_CURRENT_LIST_DIR}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "makensis failed on ${CMAKE_CURRENT_LIST_DIR}/vantu.nsi")
endif()
