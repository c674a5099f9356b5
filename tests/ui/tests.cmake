kvr_add_test(ui_tform1 ui/tst_tform1.cpp LIBS kvr_ui GUI)
