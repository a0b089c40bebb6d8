# Running the Windows test binaries under Wine.
#
# Every Wine test requires the fixture "wine_session": CTest runs tools/wine/session
# start before the first of them and stop after the last, so that one test run has
# one Xvfb, one Wine prefix under the build folder and one warm wineserver, also when
# a single test is picked with -R. Each binary is one CTest test and runs through
# tools/wine/run, the cross-compiling emulator. Fixtures carry the label "fixture":
# they prepare tests and are no tests themselves (tools/test does not count them).
# Paths go to the test binaries as Linux paths; the binaries see them on Wine's drive
# Z: (WindowsPath, driver/wine.h).
set(KOBRANT_WINE_SESSION ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine/run ${KOBRANT_WINE_SESSION})

add_test(NAME wine_session_start
    COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/session start ${KOBRANT_WINE_SESSION})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 120 LABELS fixture)
add_test(NAME wine_session_stop
    COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/session stop ${KOBRANT_WINE_SESSION})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 60 LABELS fixture)

function(kobrant_wine_test name)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session)
endfunction()

# kobrant_fixture(NAME SCRIPT ARGS...): the fixture NAME, which "sh SCRIPT make ARGS..."
# sets up inside the Wine session and "sh SCRIPT remove ARGS..." takes down again.
function(kobrant_fixture name script)
    add_test(NAME ${name}_make COMMAND sh ${script} make ${ARGN})
    add_test(NAME ${name}_remove COMMAND sh ${script} remove ${ARGN})
    set_tests_properties(${name}_make PROPERTIES FIXTURES_SETUP ${name} FIXTURES_REQUIRED wine_session LABELS fixture)
    set_tests_properties(${name}_remove PROPERTIES FIXTURES_CLEANUP ${name} FIXTURES_REQUIRED wine_session LABELS fixture)
endfunction()
