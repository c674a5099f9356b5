kvr_add_test(ui_logwindow ui/tst_logwindow.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_lifecycle_dialogs ui/tst_lifecycle_dialogs.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_entrywindow ui/tst_entrywindow.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_applicationwindows ui/tst_applicationwindows.cpp LIBS kvr_ui GUI)
