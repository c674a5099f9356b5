# Countries: reading the installed cty.dat and finding the country of 100,000 callsigns as logged.
add_executable(bench_contest ${CMAKE_CURRENT_LIST_DIR}/bench_contest.cpp)
target_link_libraries(bench_contest PRIVATE kvr_benchsupport)
target_compile_definitions(bench_contest PRIVATE KVR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
set_target_properties(bench_contest PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
kvr_warnings(bench_contest)
add_dependencies(bench bench_contest)
