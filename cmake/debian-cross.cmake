# What the toolchain files of Debian's cross compilers share, for the multiarch triplet
# in KOBRANT_DEBIAN_TRIPLET (aarch64-linux-gnu, arm-linux-gnueabihf): the compilers
# TRIPLET-gcc and TRIPLET-g++, libraries and packages from /usr/lib/TRIPLET (the :arm64 or
# :armhf packages) and /usr/TRIPLET, programs from the host. The tests run under
# qemu-user with the cross toolchain's C library, /usr/TRIPLET.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${KOBRANT_DEBIAN_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${KOBRANT_DEBIAN_TRIPLET}-g++)

set(CMAKE_LIBRARY_ARCHITECTURE ${KOBRANT_DEBIAN_TRIPLET})
set(CMAKE_FIND_ROOT_PATH /usr/${KOBRANT_DEBIAN_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
