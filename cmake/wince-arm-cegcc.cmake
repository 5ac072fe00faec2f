# Windows CE 4.10 on ARM with the CE port of GCC (cegcc's arm-mingw32ce), which Debian does
# not package: nothing here builds or runs with it; see the README's device build section.
#   cmake -B build/wince-arm --toolchain cmake/wince-arm-cegcc.cmake && cmake --build build/wince-arm
set(CMAKE_SYSTEM_NAME WindowsCE)
set(CMAKE_SYSTEM_VERSION 4.10)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_CXX_COMPILER arm-mingw32ce-g++)
set(CMAKE_RC_COMPILER arm-mingw32ce-windres)
set(ZARVIC_DLLTOOL arm-mingw32ce-dlltool)
set(ZARVIC_CE_ENTRY WinMainCRTStartup)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
