# Native build of the byte-level logic: everything under the sanitizers. The
# benchmarks have a build of their own (QMX_BENCH_BUILD, build/bench) with the
# shipped image's optimisation and, where the compilers and the 32-bit zlib
# and giflib allow, its processor.
if(QMX_BENCH_BUILD)
    # Built and run: a kernel may refuse 32-bit programs.
    include(CheckCXXSourceRuns)
    set(CMAKE_REQUIRED_FLAGS "-m32 -march=i486")
    set(CMAKE_REQUIRED_LIBRARIES z gif)
    check_cxx_source_runs("#include <zlib.h>\n#include <gif_lib.h>\nint main() { return GifErrorString(D_GIF_ERR_OPEN_FAILED) == 0 || zlibVersion()[0] == 0; }"
        QMX_BENCH_I486)
    set(QMX_BENCH_FLAGS -Os)
    if(QMX_BENCH_I486)
        list(APPEND QMX_BENCH_FLAGS -m32 -march=i486)
    endif()
    list(JOIN QMX_BENCH_FLAGS " " flags)
    add_compile_options(${QMX_BENCH_FLAGS} -Wall -Wextra)
    add_link_options(${QMX_BENCH_FLAGS})
    add_compile_definitions("QMX_BENCH_BUILD_NAME=\"${flags}, no sanitizers\"")
else()
    set(QMX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(-g -O1 -Wall -Wextra ${QMX_SANITIZE})
    add_link_options(${QMX_SANITIZE})
endif()
include_directories("${CMAKE_SOURCE_DIR}")

# The platform-free code of every subsystem; each folder adds its sources.
add_library(qmx_bytes STATIC "${CMAKE_SOURCE_DIR}/common/setup_state.cpp")

# A native GoogleTest program over the byte-level code.
function(qmx_host_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE qmx_bytes gtest gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
