# The installation: a run of the installed command-line tool on an empty home, and the checkers of the
# desktop entry and the AppStream data, when they are installed (cmake/setup.sh installs them).
add_test(NAME install_run COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/check_install.sh ${CMAKE_BINARY_DIR}
                                  ${PROJECT_SOURCE_DIR} ${CMAKE_COMMAND})
add_dependencies(all_tests kvrlog man_pages)

find_program(DESKTOP_FILE_VALIDATE_EXE desktop-file-validate)
find_program(APPSTREAMCLI_EXE appstreamcli)
if(DESKTOP_FILE_VALIDATE_EXE)
    add_test(NAME install_desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE_EXE}
                                                ${PROJECT_SOURCE_DIR}/packaging/kvrlog.desktop)
endif()
if(APPSTREAMCLI_EXE)
    add_test(NAME install_metainfo COMMAND ${APPSTREAMCLI_EXE} validate --no-net --pedantic
                                           ${CMAKE_BINARY_DIR}/packaging/io.github.kvrlog.kvrlog.metainfo.xml)
endif()
