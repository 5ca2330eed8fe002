# The Windows build. The shipped image links no C runtime so that it loads on
# Windows 95, 98 and NT4 and runs on a 486; test programs use the ordinary one.
include_directories("${CMAKE_SOURCE_DIR}")

set(QMX_PRODUCT_FLAGS
    -march=i486 -Os -fexec-charset=GBK
    -D_WIN32_WINNT=0x0400 -DWINVER=0x0400 -D_WIN32_IE=0x0300
    -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -fno-threadsafe-statics -fno-tree-loop-distribute-patterns
    -fno-stack-protector -fno-ident -Wall -Wextra)

# Product code: compiled once, linked into the shipped image and into the
# Windows test programs. Each folder adds its sources to one library per
# subsystem so that tests can link stand-ins for the subsystems they don't test.
function(qmx_product_library name)
    add_library(${name} STATIC ${ARGN})
    target_compile_options(${name} PRIVATE ${QMX_PRODUCT_FLAGS})
endfunction()

# The Windows test programs run under Wine in the test bed's prefix.
set(QMX_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
set(QMX_BED "${CMAKE_SOURCE_DIR}/tests/wine/bed")
set(CMAKE_CROSSCOMPILING_EMULATOR "${QMX_BED}" run)

# Whether this machine can run Windows programs under Wine at all. Where it
# cannot (a kernel without IA-32 emulation runs no 32-bit x86 program), every
# test that needs the bed is disabled, so CTest lists it as not run rather
# than failed, and the reason is printed.
execute_process(COMMAND "${QMX_BED}" can-run RESULT_VARIABLE QMX_WINE_STATUS
    OUTPUT_VARIABLE QMX_WINE_REASON OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT QMX_WINE_STATUS EQUAL 0)
    message(WARNING "The Windows tests are disabled: ${QMX_WINE_REASON}.")
endif()

# Called at the end of each test folder: disables its tests that need the
# bed (those of the wine_bed fixture) where Wine cannot run.
function(qmx_disable_wine_tests_if_wine_cannot_run)
    if(QMX_WINE_STATUS EQUAL 0)
        return()
    endif()
    get_property(names DIRECTORY PROPERTY TESTS)
    foreach(name IN LISTS names)
        get_test_property(${name} FIXTURES_REQUIRED required)
        get_test_property(${name} FIXTURES_SETUP setup)
        get_test_property(${name} FIXTURES_CLEANUP cleanup)
        if("wine_bed" IN_LIST required OR setup STREQUAL "wine_bed" OR cleanup STREQUAL "wine_bed")
            set_tests_properties(${name} PROPERTIES DISABLED TRUE)
        endif()
    endforeach()
endfunction()

# A Windows GoogleTest program, run by CTest through Wine in the shared
# prefix, or with PREFIX in a fresh prefix of that name, made before the test
# and removed after it.
function(qmx_wine_test name)
    cmake_parse_arguments(T "" "PREFIX" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_compile_options(${name} PRIVATE -fexec-charset=GBK -Wall -Wextra)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main -static)
    add_test(NAME ${name} COMMAND ${name})
    set(fixtures wine_bed)
    set(environment "QMX_WINE_ROOT=${QMX_WINE_ROOT}")
    if(T_PREFIX)
        add_test(NAME ${name}_prefix COMMAND "${QMX_BED}" fresh ${T_PREFIX})
        add_test(NAME ${name}_prefix_drop COMMAND "${QMX_BED}" drop ${T_PREFIX})
        set_tests_properties(${name}_prefix PROPERTIES FIXTURES_SETUP ${name}_prefix)
        set_tests_properties(${name}_prefix_drop PROPERTIES FIXTURES_CLEANUP ${name}_prefix)
        set_tests_properties(${name}_prefix ${name}_prefix_drop PROPERTIES
            FIXTURES_REQUIRED wine_bed ENVIRONMENT "${environment}")
        list(APPEND fixtures ${name}_prefix)
        list(APPEND environment "WINEPREFIX=${QMX_WINE_ROOT}/prefixes/${T_PREFIX}")
    endif()
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED "${fixtures}" TIMEOUT 300 ENVIRONMENT "${environment}")
endfunction()
