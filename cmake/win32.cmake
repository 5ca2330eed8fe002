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
