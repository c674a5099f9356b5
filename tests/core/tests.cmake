kvr_add_test(core_qsoline core/tst_qsoline.cpp LIBS kvr_core)
kvr_add_test(core_textfile core/tst_textfile.cpp LIBS kvr_core)
kvr_add_test(core_logloader core/tst_logloader.cpp LIBS kvr_core)
kvr_add_test(core_programfolder core/tst_programfolder.cpp LIBS kvr_core)
