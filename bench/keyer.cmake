# Real-time keying accuracy: PARIS at 40 WPM through the recording port while another thread burns CPU.
add_executable(bench_keyer ${CMAKE_CURRENT_LIST_DIR}/bench_keyer.cpp)
target_link_libraries(bench_keyer PRIVATE kvr_testsupport kvr_hardware)
kvr_warnings(bench_keyer)
set_target_properties(bench_keyer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_keyer)

# The calibration run of the configuration window on the real clock (takes about a minute).
add_executable(bench_calibration ${CMAKE_CURRENT_LIST_DIR}/bench_calibration.cpp)
target_link_libraries(bench_calibration PRIVATE kvr_testsupport)
kvr_warnings(bench_calibration)
set_target_properties(bench_calibration PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_calibration)

# Keying measured from outside a running program: the preloaded library that timestamps every modem-line change,
# and the analysis of what it recorded. bench/keying_in_program.sh drives both.
enable_language(C)
add_library(keying_shim SHARED ${CMAKE_CURRENT_LIST_DIR}/keying_shim.c)
target_link_libraries(keying_shim PRIVATE ${CMAKE_DL_LIBS})
kvr_warnings(keying_shim)
set_target_properties(keying_shim PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench PREFIX "" C_STANDARD 11 AUTOMOC OFF)
add_dependencies(bench keying_shim)

add_executable(keying_analysis ${CMAKE_CURRENT_LIST_DIR}/keying_analysis.cpp)
kvr_warnings(keying_analysis)
set_target_properties(keying_analysis PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench AUTOMOC OFF)
add_dependencies(bench keying_analysis)
