kvr_add_test(interchange_cabrillo interchange/tst_interchange_cabrillo.cpp LIBS kvr_core)
kvr_add_test(interchange_adif interchange/tst_interchange_adif.cpp LIBS kvr_core)
kvr_add_test(interchange_edi interchange/tst_interchange_edi.cpp LIBS kvr_core)
kvr_add_test(interchange_csv interchange/tst_interchange_csv.cpp LIBS kvr_core)
kvr_add_test(interchange_commands interchange/tst_interchange_commands.cpp LIBS kvr_core)
# The interchange dialogs (tests/ui), registered here so that each feature keeps its own list.
kvr_add_test(ui_interchange_dialogs ui/tst_interchange_dialogs.cpp LIBS kvr_ui GUI)
set_target_properties(ui_interchange_dialogs PROPERTIES AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/src/ui)
kvr_add_test(interchange_fulldisk interchange/tst_fulldisk.cpp LIBS kvr_core)
