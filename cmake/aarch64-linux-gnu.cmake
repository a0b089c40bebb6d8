# Cross build for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu, against the
# multiarch :arm64 libraries (libgtest-dev:arm64, libmpfr-dev:arm64, ...). The tests
# run under qemu-user, with the ARM C library of the cross toolchain.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(KOBRANT_DEBIAN_TRIPLET aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
