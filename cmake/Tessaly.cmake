# Build conventions shared by every folder: warnings, sanitizers, where
# programs and tools land, and how tests are declared.

set(TESSALY_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Woverloaded-virtual -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${TESSALY_WARNINGS}>")

if(TESSALY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing: every library is instrumented for coverage and checked by ASan and
# UBSan; only the fuzz targets link libFuzzer's main (tests/fuzz).
if(TESSALY_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds each listed folder that has a CMakeLists.txt.
function(tessaly_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# A program of the install: lands in build/dist/.
function(tessaly_program target)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TESSALY_DIST_DIR})
endfunction()

# A developer tool: lands in build/tools/.
function(tessaly_tool target)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TESSALY_TOOLS_DIR})
endfunction()

# tessaly_add_test(name SOURCES ... LIBS ... [QT] [LABELS ...] [RUNNER ...])
# QT: the test runs under a QApplication on the offscreen platform (widget and
# socket tests); otherwise it links GoogleTest's own main. RUNNER: a command
# that runs the test program (its path is the runner's last argument).
function(tessaly_add_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS;RUNNER" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} tessaly_test_support GTest::gmock)
    if(T_QT)
        target_link_libraries(${name} PRIVATE tessaly_test_qt_main)
    else()
        target_link_libraries(${name} PRIVATE GTest::gmock_main)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${T_RUNNER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;TESSALY_SOURCE_DIR=${PROJECT_SOURCE_DIR};TESSALY_DIST_DIR=${TESSALY_DIST_DIR};TESSALY_TOOLS_DIR=${TESSALY_TOOLS_DIR}"
        LABELS "${T_LABELS}")
endfunction()
