# Edit and delete in a 100,000-contact log: rewrite, reload and the log window's model reset.
add_executable(bench_lifecycle ${CMAKE_CURRENT_LIST_DIR}/lifecycle.cpp)
target_link_libraries(bench_lifecycle PRIVATE kvr_testsupport kvr_ui)
kvr_warnings(bench_lifecycle)
set_target_properties(bench_lifecycle PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_lifecycle)
