# Call lookup: PartialSearch on the real super-check-partial list (hamradio-files, installed by the set-up)
# and the cost of one keystroke in the callsign field. make_dta turns a list of callsigns into a .dta file.
add_executable(make_dta ${CMAKE_CURRENT_LIST_DIR}/make_dta.cpp)
target_link_libraries(make_dta PRIVATE kvr_testsupport)
set_target_properties(make_dta PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
kvr_warnings(make_dta)

add_executable(bench_lookup ${CMAKE_CURRENT_LIST_DIR}/bench_lookup.cpp)
target_link_libraries(bench_lookup PRIVATE kvr_testsupport kvr_ui)
set_target_properties(bench_lookup PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
kvr_warnings(bench_lookup)
add_dependencies(bench bench_lookup make_dta)

# The README's screenshots: make_screenshots OUTDIR draws the program on the demo log offscreen.
add_executable(make_screenshots ${CMAKE_CURRENT_LIST_DIR}/make_screenshots.cpp)
target_link_libraries(make_screenshots PRIVATE kvr_testsupport kvr_ui Qt6::Test)
target_compile_definitions(make_screenshots PRIVATE KVR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
set_target_properties(make_screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
kvr_warnings(make_screenshots)
