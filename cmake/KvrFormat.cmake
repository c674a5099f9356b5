# `cmake --build build --target format` formats every source of the project in place.
find_program(CLANG_FORMAT_EXE NAMES clang-format clang-format-14)
if(CLANG_FORMAT_EXE)
    file(GLOB_RECURSE KVR_FORMAT_SOURCES CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
         ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
         ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h)
    add_custom_target(format COMMAND ${CLANG_FORMAT_EXE} -i ${KVR_FORMAT_SOURCES}
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} COMMENT "clang-format")
endif()
