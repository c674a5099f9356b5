kvr_add_test(cli_summary cli/tst_cli_summary.cpp LIBS kvr_core)
add_dependencies(cli_summary kvrlog-cli)
kvr_add_test(cli_fulldisk cli/tst_cli_fulldisk.cpp LIBS kvr_core)
add_dependencies(cli_fulldisk kvrlog-cli)
