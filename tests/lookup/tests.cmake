kvr_add_test(lookup_mastercalldb lookup/tst_lookup_mastercalldb.cpp LIBS kvr_core)
kvr_add_test(lookup_masterfile lookup/tst_lookup_masterfile.cpp LIBS kvr_core)
kvr_add_test(lookup_suggestions lookup/tst_lookup_suggestions.cpp LIBS kvr_core)
kvr_add_test(lookup_workedcalls lookup/tst_lookup_workedcalls.cpp LIBS kvr_core)
# Widget tests of the lookup windows (registered here, the files live in tests/ui).
kvr_add_test(ui_lookup_call_suggestions_window ui/tst_lookup_callsuggestionswindow.cpp LIBS kvr_ui GUI)
kvr_add_test(ui_lookup_worked_calls ui/tst_lookup_workedcalls.cpp LIBS kvr_ui GUI)
