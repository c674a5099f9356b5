kvr_add_test(settings_inifile settings/tst_inifile.cpp LIBS kvr_core)
