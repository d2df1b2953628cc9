# SPDX-License-Identifier: GPL-3.0-or-later
# Shared compile settings and the helper that declares one library per subsystem folder.

add_compile_options(-Wall -Wextra)

# Release builds are the ones packaged, hardened as Debian builds its packages: the C library
# checks buffer sizes it can see, the stack is guarded, indirect jumps are checked, the program
# is position independent and its relocations are read-only and resolved at start.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
add_compile_definitions($<$<CONFIG:Release>:_FORTIFY_SOURCE=2>)
add_compile_options($<$<CONFIG:Release>:-fstack-protector-strong>
                    $<$<CONFIG:Release>:-fstack-clash-protection>
                    $<$<CONFIG:Release>:-fcf-protection> -Wformat -Werror=format-security)
add_link_options($<$<CONFIG:Release>:LINKER:-z,relro> $<$<CONFIG:Release>:LINKER:-z,now>)

if(PICTARIA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(PICTARIA_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=thread)
endif()

# Fuzzing instruments every library for libFuzzer's coverage; only the fuzz targets link its
# driver (fuzz/CMakeLists.txt).
if(PICTARIA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT CMAKE_C_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "PICTARIA_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined -g)
    add_link_options(-fsanitize=address,undefined)
endif()

# pictaria_listed_sources(OUT LISTED [EXCLUDED]): the listed files of the calling folder, after
# checking that every source file there is listed (or excluded, being built elsewhere): a file
# added without being listed stops the configuration rather than being left out of the build.
function(pictaria_listed_sources out listed excluded)
    file(GLOB present RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    list(REMOVE_ITEM present ${listed} ${excluded})
    if(present)
        message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}: not in SOURCES: ${present}")
    endif()
    list(TRANSFORM listed PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    set(${out} ${listed} PARENT_SCOPE)
endfunction()

# pictaria_subsystem(NAME SOURCES ... [EXCLUDE ...] [DEPS ...]): a static library of the listed
# sources of the calling folder. A folder without compiled sources gives an interface library
# that only passes its dependencies on.
function(pictaria_subsystem name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE;SOURCES" ${ARGN})
    pictaria_listed_sources(sources "${ARG_SOURCES}" "${ARG_EXCLUDE}")
    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.(cpp|c)$")
    if(NOT compiled)
        add_library(pictaria_${name} INTERFACE)
        target_include_directories(pictaria_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(pictaria_${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(pictaria_${name} STATIC ${sources})
    set_target_properties(pictaria_${name} PROPERTIES AUTOMOC ON)
    target_include_directories(pictaria_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(pictaria_${name} PUBLIC ${ARG_DEPS})
endfunction()

# pictaria_test_suite(NAME SOURCES ... [EXCLUDE ...] [DEPS ...] [PROPERTIES ...]): one GoogleTest
# program of the listed sources of the calling folder (EXCLUDE: those built elsewhere);
# PROPERTIES are added to each of its tests.
function(pictaria_test_suite name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE;PROPERTIES;SOURCES" ${ARGN})
    pictaria_listed_sources(sources "${ARG_SOURCES}" "${ARG_EXCLUDE}")
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    set_target_properties(test_${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(test_${name} PRIVATE pictaria_test_support ${ARG_DEPS})
    gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120
                                    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" ${ARG_PROPERTIES})
endfunction()
