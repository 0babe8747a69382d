# Same sources built for 64-bit Windows: the Wine test bed on hosts that cannot
# execute 32-bit code (there, only the 64-bit Wine runs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
