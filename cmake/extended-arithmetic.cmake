# Which arithmetic the number rules compute with (src/numbers/extended.h):
# KOBRANT_EXTENDED is x87 on x86 and x86-64, where the x87 unit's long double is the
# format itself, and software elsewhere (Debian's MPFR, libmpfr-dev). CMake picks the
# files extended_<choice>.cpp and float_state_<choice>.cpp as it picks the _win and
# _posix files.
#
# KOBRANT_MPFR_LIBRARY and KOBRANT_MPFR_INCLUDE_DIR name MPFR where a build needs it:
# where the software arithmetic is built, and on x86-64 Linux with the tests, whose
# differential test builds both arithmetics. A build of the program alone on a PC
# needs no MPFR (nor does MinGW-w64, for which Debian has none).
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
    set(KOBRANT_EXTENDED x87)
else()
    set(KOBRANT_EXTENDED software)
endif()

if(KOBRANT_EXTENDED STREQUAL "software" OR (KOBRANT_TESTS AND NOT WIN32))
    find_library(KOBRANT_MPFR_LIBRARY mpfr REQUIRED)
    find_path(KOBRANT_MPFR_INCLUDE_DIR mpfr.h REQUIRED)
endif()

# kobrant_link_mpfr(TARGET): TARGET compiles against MPFR and links it.
function(kobrant_link_mpfr target)
    target_include_directories(${target} SYSTEM PRIVATE ${KOBRANT_MPFR_INCLUDE_DIR})
    target_link_libraries(${target} PRIVATE ${KOBRANT_MPFR_LIBRARY})
endfunction()
