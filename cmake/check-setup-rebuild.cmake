# Makes the setup program again, from a copy of vantu.exe in another folder, and checks
# that it is the built one byte for byte (no build time or path in it) and that its PE
# header keeps the time stamp of NSIS's prebuilt stub rather than one of the build.
# Usage: cmake -DMAKENSIS=... -DEXE=... -DVERSION=... -DBUILT=... -DSTUB=... -P check-setup-rebuild.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(again "${BUILT}" DIRECTORY)
set(again "${again}/rebuilt")
file(REMOVE_RECURSE "${again}")
file(MAKE_DIRECTORY "${again}")
file(COPY "${EXE}" DESTINATION "${again}")
get_filename_component(name "${EXE}" NAME)
execute_process(
  COMMAND "${CMAKE_COMMAND}" "-DMAKENSIS=${MAKENSIS}" "-DEXE=${again}/${name}" "-DVERSION=${VERSION}"
          "-DOUT=${again}/vantu-setup.exe" -P "${CMAKE_CURRENT_LIST_DIR}/../setup/make-setup.cmake"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the setup program could not be made again")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${BUILT}" "${again}/vantu-setup.exe" RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${BUILT} and ${again}/vantu-setup.exe, made from the same files, differ")
endif()
file(REMOVE_RECURSE "${again}")
message(STATUS "${BUILT}: made again, the same bytes")
set(EXE "${BUILT}")
include("${CMAKE_CURRENT_LIST_DIR}/check-timestamp.cmake")
