# Warnings for our own targets only; Qt headers are included as system headers by CMake.
# CI configures with -DKVR_WERROR=ON, so a warning fails the build there.
option(KVR_WERROR "Treat warnings in our own code as errors" OFF)
function(kvr_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(KVR_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
