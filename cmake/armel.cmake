# The simulated device and its tests for the device's CPU family: 32-bit ARMv5TE in ARM state
# (Debian's armel), where char is unsigned. The programs run under QEMU's user mode, which
# does not fault on unaligned loads; -Wcast-align=strict on the logic stands in for that.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR armv5te)
set(CMAKE_CXX_COMPILER arm-linux-gnueabi-g++)
set(CMAKE_CXX_FLAGS_INIT "-march=armv5te -marm")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm-static -L /usr/arm-linux-gnueabi)
set(CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Debian packages GoogleTest for the host only; the build compiles its sources for armel.
set(ZARVIC_GTEST_SOURCE /usr/src/googletest)
