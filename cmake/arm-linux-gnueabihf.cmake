# Cross build for 32-bit ARM Linux (Debian's armhf, the 32-bit Raspberry Pi OS) with
# Debian's g++-arm-linux-gnueabihf, against the multiarch :armhf libraries
# (libgtest-dev:armhf, libmpfr-dev:armhf, ...). Debian's armhf is ARMv7 with Thumb-2
# and VFPv3-D16, down to its C library's start files, so the programs need a Pi 2 or
# later; the tests run under qemu-user as a Cortex-A7, the processor of the first Pi 2.
# 64-bit file offsets and time come with every 32-bit build (cmake/compiler-options.cmake).
set(CMAKE_SYSTEM_PROCESSOR arm)
set(KOBRANT_DEBIAN_TRIPLET arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

# GCC notes at each std::sort of doubles that their passing changed in GCC 7.1; nothing
# here links code built before that.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L /usr/arm-linux-gnueabihf -cpu cortex-a7)
