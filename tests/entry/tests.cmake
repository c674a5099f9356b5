kvr_add_test(entry_addqso entry/tst_addqso.cpp LIBS kvr_core)
kvr_add_test(entry_rules entry/tst_entryrules.cpp LIBS kvr_core)
kvr_add_test(entry_startup entry/tst_entrystartup.cpp LIBS kvr_core)
