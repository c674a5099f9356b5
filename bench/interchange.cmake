add_executable(bench_interchange ${CMAKE_CURRENT_LIST_DIR}/bench_interchange.cpp)
target_link_libraries(bench_interchange PRIVATE kvr_core)
kvr_warnings(bench_interchange)
# The whole-run figure starts the command-line tool built beside it.
target_compile_definitions(bench_interchange PRIVATE KVRLOG_CLI="$<TARGET_FILE:kvrlog-cli>")
add_dependencies(bench_interchange kvrlog-cli)
set_target_properties(bench_interchange PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_interchange)
