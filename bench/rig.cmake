# A keystroke in the callsign field with no radio, with a radio behind a rigctld that never answers, and with
# hamlib's dummy radio (when rigctld is installed).
add_executable(bench_rig ${CMAKE_CURRENT_LIST_DIR}/bench_rig.cpp)
target_link_libraries(bench_rig PRIVATE kvr_testsupport kvr_benchsupport kvr_ui Qt6::Test Qt6::Network)
target_compile_definitions(bench_rig PRIVATE KVR_COUNTY_FILE="${PROJECT_SOURCE_DIR}/data/powiaty.txt")
set_target_properties(bench_rig PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
kvr_warnings(bench_rig)
add_dependencies(bench bench_rig)
