# Cross build for 32-bit ARM Linux (Debian's armhf, the 32-bit Raspberry Pi OS) with
# Debian's g++-arm-linux-gnueabihf, against the multiarch :armhf libraries
# (libgtest-dev:armhf, libmpfr-dev:armhf, ...). Debian's armhf is ARMv7 with Thumb-2
# and VFPv3-D16, down to its C library's start files, so the programs need a Pi 2 or
# later; the tests run under qemu-user as a Cortex-A7, the processor of the first Pi 2.
# 64-bit file offsets and time come with every 32-bit build (cmake/compiler-options.cmake).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)

# GCC notes at each std::sort of doubles that their passing changed in GCC 7.1; nothing
# here links code built before that.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")

# Libraries and packages from /usr/lib/arm-linux-gnueabihf, programs from the host.
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabihf)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L /usr/arm-linux-gnueabihf -cpu cortex-a7)
