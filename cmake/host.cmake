# Native build of the byte-level logic: everything under the sanitizers.
set(QMX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g -O1 -Wall -Wextra ${QMX_SANITIZE})
add_link_options(${QMX_SANITIZE})
include_directories("${CMAKE_SOURCE_DIR}")

# The platform-free code of every subsystem; each folder adds its sources.
add_library(qmx_bytes STATIC "${CMAKE_SOURCE_DIR}/common/setup_state.cpp")

# A native GoogleTest program over the byte-level code.
function(qmx_host_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE qmx_bytes gtest gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
