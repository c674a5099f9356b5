kvr_add_test(keyer_morsetiming keyer/tst_morsetiming.cpp LIBS kvr_core)
kvr_add_test(keyer_engine keyer/tst_morseengine.cpp LIBS kvr_core)
kvr_add_test(keyer_macros keyer/tst_macros.cpp LIBS kvr_core)
kvr_add_test(keyer_keys keyer/tst_keyerkeys.cpp LIBS kvr_core)
kvr_add_test(keyer_ports keyer/tst_keyerports.cpp LIBS kvr_core)
kvr_add_test(keyer_hardware keyer/tst_hardware.cpp LIBS kvr_hardware GUI)
kvr_add_test(keyer_panel keyer/tst_keyerpanel.cpp LIBS kvr_ui GUI)
kvr_add_test(keyer_setup keyer/tst_keyersetup.cpp LIBS kvr_core)
kvr_add_test(keyer_manual_voice keyer/tst_manualandvoice.cpp LIBS kvr_core)
kvr_add_test(keyer_rigkeying keyer/tst_rigkeying.cpp LIBS kvr_core)
kvr_add_test(keyer_scheduling keyer/tst_senderscheduling.cpp LIBS kvr_core)
# The RealtimeKit client against a fake service on a private bus. Not named keyer_*: ThreadSanitizer cannot see the
# locks inside QtDBus's own threads and reports Qt's internals, so it stays out of the ThreadSanitizer stage.
kvr_add_test(realtimekit_dbus keyer/tst_realtimekit.cpp LIBS kvr_hardware)
# The Winkeyer and cwdaemon tests run the serial port and the socket on Qt's own threads, whose hand-overs
# ThreadSanitizer cannot see (as for the RealtimeKit test below): they are not named keyer_* and stay out of its
# stage. Our own threading in the engine's keyer path is still checked there through keyer_engine.
kvr_add_test(textkeyer_winkeyer keyer/tst_winkeyer.cpp LIBS kvr_hardware)
kvr_add_test(textkeyer_cwdaemon keyer/tst_cwdaemon.cpp LIBS kvr_core kvr_network)
kvr_add_test(textkeyer_engine keyer/tst_textkeyerengine.cpp LIBS kvr_hardware kvr_network)
