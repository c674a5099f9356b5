# Sanitizer builds, each in a build directory of its own (CI: build-asan, build-tsan, build-fuzz).
#   KVR_ASAN  AddressSanitizer and UndefinedBehaviorSanitizer on everything; the whole test suite runs under them.
#   KVR_TSAN  ThreadSanitizer on everything; the keyer tests run under it (the sender thread, mutexes, atomics).
#   KVR_FUZZ  clang only: kvr_core with libFuzzer's coverage hooks and both sanitizers, and the fuzz targets of
#             tests/fuzz. Nothing else is built.
option(KVR_ASAN "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KVR_TSAN "Build with ThreadSanitizer" OFF)
option(KVR_FUZZ "Build kvr_core and the libFuzzer targets of tests/fuzz only (needs clang)" OFF)

if((KVR_ASAN AND KVR_TSAN) OR (KVR_FUZZ AND (KVR_ASAN OR KVR_TSAN)))
    message(FATAL_ERROR "KVR_ASAN, KVR_TSAN and KVR_FUZZ each need a build directory of their own")
endif()

if(KVR_ASAN)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(KVR_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

if(KVR_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KVR_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Undefined behaviour stops the run like a crash, so the fuzzer keeps the input.
    set(KVR_FUZZ_COMMON_OPTIONS -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    # A Debug build keeps Qt's own assertions (QString and QList bounds) on; -O1 keeps the runs fast.
    if(CMAKE_BUILD_TYPE STREQUAL "Debug")
        list(APPEND KVR_FUZZ_COMMON_OPTIONS -O1)
    endif()
endif()

# A library linked into fuzz targets: coverage hooks for the fuzzer and both sanitizers, without libFuzzer's main.
function(kvr_fuzz_library target)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined ${KVR_FUZZ_COMMON_OPTIONS})
endfunction()

# A fuzz target: the same, with libFuzzer's main linked in.
function(kvr_fuzz_executable target)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined ${KVR_FUZZ_COMMON_OPTIONS})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
