# Build helpers shared by every folder.

if(SKYVANE_SANITIZE)
    string(REPLACE "," ";" _skyvane_sanitizers "${SKYVANE_SANITIZE}")
    foreach(_san IN LISTS _skyvane_sanitizers)
        add_compile_options(-fsanitize=${_san})
        add_link_options(-fsanitize=${_san})
    endforeach()
    add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endif()

# Adds a folder of the build; a folder without its CMakeLists.txt is an error, not a gap.
function(skyvane_add_folder dir)
    if(NOT EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
        message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${dir} has no CMakeLists.txt")
    endif()
    add_subdirectory(${dir})
endfunction()

# skyvane_headers(target PUBLIC|INTERFACE|PRIVATE [FOLDER dir])
# Headers are included with their folder's name ("model/StationConfig.h"). Each folder gets an
# include root of its own in the build tree that holds nothing but a link to the folder, and a
# library puts only its own folder's root on the include path of those that link it. A header of
# a folder that a library does not link is therefore not found: a dependency that runs the wrong
# way fails to build. FOLDER defaults to the current source folder.
function(skyvane_headers target scope)
    cmake_parse_arguments(H "" "FOLDER" "" ${ARGN})
    if(NOT H_FOLDER)
        set(H_FOLDER "${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    get_filename_component(name "${H_FOLDER}" NAME)
    set(root "${CMAKE_BINARY_DIR}/include/${name}")
    if(NOT IS_SYMLINK "${root}/${name}")
        file(MAKE_DIRECTORY "${root}")
        file(CREATE_LINK "${H_FOLDER}" "${root}/${name}" SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} "${root}")
endfunction()

function(skyvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wformat=2 -Wnon-virtual-dtor
                                             -Woverloaded-virtual)
    if(SKYVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# add_unit_test(NAME SOURCES a.cpp ... LIBS lib ... [LABELS l ...] [ENV K=V ...])
# One executable per unit, run in a fresh scratch directory of its own.
function(add_unit_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    if(NOT SKYVANE_TESTS OR SKYVANE_FUZZ)
        return()
    endif()
    find_package(GTest REQUIRED)
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    skyvane_warnings(${name})
    # Every test sees the header-only helpers of tests/support ("support/WaitFor.h"), and knows
    # the source folder for a run by hand, where ctest's SKYVANE_SOURCE_DIR is not set.
    skyvane_headers(${name} PRIVATE FOLDER "${PROJECT_SOURCE_DIR}/tests/support")
    target_compile_definitions(${name} PRIVATE SKYVANE_SOURCE_TREE="${PROJECT_SOURCE_DIR}")
    set(workdir "${CMAKE_BINARY_DIR}/testwork/${name}")
    file(MAKE_DIRECTORY "${workdir}")
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY "${workdir}")
    set_tests_properties(${name} PROPERTIES
        LABELS "${T_LABELS}"
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;SKYVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()

# add_fuzz_target(NAME SOURCES a.cpp ... LIBS lib ... CORPUS dir [DICT file] [MAX_LEN bytes])
# Built only in the fuzz configuration; scripts/test runs each one briefly over its corpus, with
# its dictionary (libFuzzer's -dict) and input size limit (-max_len) when it has them.
function(add_fuzz_target name)
    cmake_parse_arguments(F "" "CORPUS;DICT;MAX_LEN" "SOURCES;LIBS" ${ARGN})
    if(NOT SKYVANE_FUZZ)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(options "")
    if(F_DICT)
        string(APPEND options " -dict=${PROJECT_SOURCE_DIR}/${F_DICT}")
    endif()
    if(F_MAX_LEN)
        string(APPEND options " -max_len=${F_MAX_LEN}")
    endif()
    set_property(GLOBAL APPEND PROPERTY SKYVANE_FUZZ_TARGETS "$<TARGET_FILE:${name}> ${F_CORPUS}${options}")
endfunction()

function(skyvane_write_fuzz_list)
    if(NOT SKYVANE_FUZZ)
        return()
    endif()
    get_property(targets GLOBAL PROPERTY SKYVANE_FUZZ_TARGETS)
    string(REPLACE ";" "\n" lines "${targets}")
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/fuzz-targets.txt" CONTENT "${lines}\n")
endfunction()
