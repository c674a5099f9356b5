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

# Winkeyer latency: send() to the first byte at an emulated chip, abort() to the clear-buffer command.
add_executable(bench_winkeyer ${CMAKE_CURRENT_LIST_DIR}/bench_winkeyer.cpp)
target_link_libraries(bench_winkeyer PRIVATE kvr_testsupport kvr_hardware)
kvr_warnings(bench_winkeyer)
set_target_properties(bench_winkeyer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_winkeyer)
# cwdaemon keyer latency: send() and abort() to the datagram at a local UDP listener.
add_executable(bench_cwdaemon ${CMAKE_CURRENT_LIST_DIR}/bench_cwdaemon.cpp)
target_link_libraries(bench_cwdaemon PRIVATE kvr_testsupport kvr_network)
kvr_warnings(bench_cwdaemon)
set_target_properties(bench_cwdaemon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_cwdaemon)

# The operator's keys to a Winkeyer or cwdaemon through the whole keyer path: F1 to the first byte, Esc to the stop.
add_executable(bench_keyerlatency ${CMAKE_CURRENT_LIST_DIR}/bench_keyerlatency.cpp)
target_link_libraries(bench_keyerlatency PRIVATE kvr_testsupport kvr_hardware kvr_network)
kvr_warnings(bench_keyerlatency)
set_target_properties(bench_keyerlatency PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench bench_keyerlatency)

# An emulated Winkeyer on a pseudo-terminal, for trying the program without the device.
add_executable(winkeyer_emulator ${CMAKE_CURRENT_LIST_DIR}/winkeyer_emulator.cpp)
target_link_libraries(winkeyer_emulator PRIVATE kvr_testsupport)
kvr_warnings(winkeyer_emulator)
set_target_properties(winkeyer_emulator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench winkeyer_emulator)

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
