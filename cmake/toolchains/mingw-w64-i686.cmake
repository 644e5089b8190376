# Windows i686 (32-bit) with Debian's MinGW-w64 (posix threads); static C and
# C++ runtimes. Its tests run only where 32-bit Wine is installed
# (VLMR_WINE=/path/to/wine), so no emulator is set by default.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VLMR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
if(DEFINED ENV{VLMR_WINE})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh)
endif()
