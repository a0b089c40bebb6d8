# Every option of the build, in one place. A plain configure (cmake -B build) builds the
# programs of the target and installs them with their manual pages; the presets
# (CMakePresets.json) turn the tests on, and the Debian packages (tools/lib/release.sh)
# set the runtime they link.
#
#   cmake -B build                            the programs, no tests
#   cmake -B build -DKOBRANT_TESTS=ON          and every test (GoogleTest needed)
#   cmake --preset native                      tests and sanitizers, as tools/test

option(KOBRANT_TESTS "Build the tests (the presets turn them on)" OFF)
option(KOBRANT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KOBRANT_WERROR "Treat the project's warnings as errors (CI)" OFF)
# Warnings for the project's own targets only (GoogleTest brings its own). The presets
# take the flags from their hidden "warnings" part.
set(KOBRANT_WARNING_FLAGS "-Wall;-Wextra" CACHE STRING "Warning flags of the project's own targets")

# The C++ runtime linked into the Linux program: the shared libstdc++ takes about 1 MiB
# of the process's memory (its relocations and start-up), what the program uses of it
# about 0.1 MiB (docs/bench.md, "The terminal program"). Never with the sanitizers,
# which must see the runtime's allocations as their own. The packages link the shared
# one, as Debian does.
option(KOBRANT_STATIC_CXX_RUNTIME "Link the Linux program with the static C++ runtime" ON)

# The rows that onair_typing_tests of the windows build keeps, read by the Linux half of
# the on-air test (the native preset names the folder; the test skips without it).
set(KOBRANT_ONAIR_ROWS "" CACHE PATH "The rows that onair_typing_tests of the windows build keeps")
