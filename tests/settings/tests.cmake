kvr_add_test(settings_inifile settings/tst_inifile.cpp LIBS kvr_core)
kvr_add_test(settings_settingsfile settings/tst_settingsfile.cpp LIBS kvr_core)
kvr_add_test(settings_settingskeys settings/tst_settingskeys.cpp LIBS kvr_core)
kvr_add_test(settings_programsettings settings/tst_programsettings.cpp LIBS kvr_core)
