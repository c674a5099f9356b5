# Warnings for our own targets only; Qt headers are included as system headers by CMake.
function(kvr_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
