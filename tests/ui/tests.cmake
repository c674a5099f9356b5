kvr_add_test(ui_logwindow ui/tst_logwindow.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_lifecycle_dialogs ui/tst_lifecycle_dialogs.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_entrywindow ui/tst_entrywindow.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_kvrwindows ui/tst_kvrwindows.cpp LIBS kvr_ui GUI)
