# Typing a callsign and adding a contact on a 100,000-contact log.
add_executable(bench_entry ${CMAKE_CURRENT_LIST_DIR}/bench_entry.cpp)
target_link_libraries(bench_entry PRIVATE kvr_testsupport)
kvr_warnings(bench_entry)
set_target_properties(bench_entry PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_compile_definitions(bench_entry PRIVATE KVR_COUNTY_FILE="${PROJECT_SOURCE_DIR}/data/powiaty.txt")
add_dependencies(bench bench_entry)
target_compile_definitions(bench_entry PRIVATE KVR_CONTEST_DIR="${PROJECT_SOURCE_DIR}/data/contests")
