# Small helpers shared by the test, fuzz and benchmark folders.

# telvane_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# A GoogleTest executable registered with ctest (label "core").
function(telvane_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
                                          telvane_flags)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS core)
endfunction()

# telvane_qttest(NAME SOURCES a.cpp LIBS lib1)
# A QtTest executable run on the offscreen platform (label "gui").
function(telvane_qttest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test telvane_flags)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS gui
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_FONTDIR=/usr/share/fonts")
endfunction()

# telvane_fuzz_target(NAME SOURCES fuzz_x.cpp LIBS lib CORPUS dir)
# With TELVANE_FUZZ the target is a libFuzzer binary; otherwise it gets a replay main()
# that runs every file of the seed corpus once, registered with ctest.
function(telvane_fuzz_target name)
    cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    if(TELVANE_FUZZ)
        add_executable(${name} ${F_SOURCES})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${name} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
        add_test(NAME ${name}_replay COMMAND ${name} ${F_CORPUS})
        set_tests_properties(${name}_replay PROPERTIES LABELS core)
    endif()
    target_link_libraries(${name} PRIVATE ${F_LIBS} telvane_flags)
endfunction()

# telvane_bench(NAME SOURCES a.cpp LIBS lib)
function(telvane_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main
                                          telvane_flags)
endfunction()
