kvr_add_test(rig_rules rig/tst_rigrules.cpp LIBS kvr_core)
kvr_add_test(rig_poller rig/tst_rigpoller.cpp LIBS kvr_core)
kvr_add_test(rig_hamlib rig/tst_hamlibrig.cpp LIBS kvr_hamlib)
