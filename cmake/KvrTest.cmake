# One Qt Test executable per test file, registered with CTest.
#   kvr_add_test(core_qsoline tests/core/tst_qsoline.cpp LIBS kvr_core)
# Widget tests pass GUI, which makes CTest run them on the offscreen platform. The target all_tests builds every
# test and what the tests run, without the benchmarks (the sanitizer builds of CI need nothing else).
if(NOT TARGET all_tests)
    add_custom_target(all_tests)
endif()
function(kvr_add_test name source)
    cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE Qt6::Test kvr_testsupport ${ARG_LIBS})
    kvr_warnings(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_dependencies(all_tests ${name})
    add_test(NAME ${name} COMMAND ${name})
    set(env "KVR_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data" "KVR_COUNTY_FILE=${PROJECT_SOURCE_DIR}/data/powiaty.txt"
            "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
    if(ARG_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
