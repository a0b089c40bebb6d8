# The project's test binaries: GoogleTest, and kobrant_test, which makes one test binary
# and hands it to CTest. Natively every GoogleTest case is its own CTest test; under
# Wine each binary is one CTest test (cmake/wine-tests.cmake), so that Wine starts once
# per binary, not once per case. Included by every folder that makes test binaries.
include_guard(GLOBAL)

if(WIN32)
    # GoogleTest from Debian's sources, built with the cross compiler; SYSTEM keeps
    # the project's warnings out of its headers.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# kobrant_test(NAME SOURCES... [LIBRARIES lib...] [ENVIRONMENT VAR=value]
#              [WINDOWS_ONLY | LINUX_ONLY] [NO_CTEST]): the test binary NAME, with the
# project's root, tests/ and the calling folder on its include path, linked to the
# libraries, the number rules (with the build's arithmetic) and GoogleTest's main;
# natively its cases run with the one environment variable. NO_CTEST: built for a command that runs it (tests/release/deb_test.sh),
# not handed to CTest.
function(kobrant_test name)
    cmake_parse_arguments(arg "WINDOWS_ONLY;LINUX_ONLY;NO_CTEST" "" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
    if((arg_WINDOWS_ONLY AND NOT WIN32) OR (arg_LINUX_ONLY AND WIN32))
        return()
    endif()
    add_executable(${name} ${arg_SOURCES} ${arg_UNPARSED_ARGUMENTS}
        ${PROJECT_SOURCE_DIR}/tests/float_state_environment.cpp)
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} kobrant_numbers GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
    kobrant_warnings(${name})
    if(arg_NO_CTEST)
        return()
    elseif(WIN32)
        kobrant_wine_test(${name})
    elseif(arg_ENVIRONMENT)
        # One variable only: GoogleTest's discovery passes the properties on as a list,
        # and a second variable would be taken for a property's name, silently.
        list(LENGTH arg_ENVIRONMENT variables)
        if(variables GREATER 1)
            message(FATAL_ERROR "kobrant_test(${name}): one ENVIRONMENT variable at most")
        endif()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
