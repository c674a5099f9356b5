kvr_add_test(ui_tlog ui/tst_tlog.cpp LIBS kvr_ui GUI)
