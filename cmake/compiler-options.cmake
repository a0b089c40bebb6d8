# Options every target of the project shares.

# The number rules rely on x87 extended arithmetic with no contraction into fused
# multiply-add: every rounding step is written out in the code and must stay one.
add_compile_options(-ffp-contract=off)

# On 32-bit Linux (armhf, the 32-bit Raspberry Pi OS) off_t and time_t are 32 bits
# unless asked: readdir then fails with EOVERFLOW on a file system of 64-bit inode
# numbers, and the clock breaks in January 2038. glibc 2.34 and later give both 64 bits.
if(NOT WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_definitions(_FILE_OFFSET_BITS=64 _TIME_BITS=64)
endif()

# Win32 as the project includes it (<windows.h>, by host/win32.h and the _win files that
# cannot reach host/): without the min and max macros, which would take the place of
# std::min and std::max, and without the rarely used parts.
if(WIN32)
    add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

if(KOBRANT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# KOBRANT_WARNING_FLAGS on the project's own targets (cmake/options.cmake); CI makes
# them errors (KOBRANT_WERROR).
function(kobrant_warnings target)
    target_compile_options(${target} PRIVATE ${KOBRANT_WARNING_FLAGS} $<$<BOOL:${KOBRANT_WERROR}>:-Werror>)
endfunction()
