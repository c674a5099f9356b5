kvr_add_test(core_loglifecycle core/tst_loglifecycle.cpp LIBS kvr_core)
kvr_add_test(core_logedit core/tst_logedit.cpp LIBS kvr_core)
kvr_add_test(core_analysishandlers core/tst_analysishandlers.cpp LIBS kvr_core)
