# The win32 thread model: its runtime (unwinder, thread-safe statics) calls only
# what Windows XP has, where the posix model links winpthread, which imports
# GetTickCount64. Neither the program nor googletest (threads off on mingw) needs
# std::thread.
if(NOT DEFINED MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${MINGW_PREFIX}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
