kvr_add_test(cli_summary cli/tst_cli_summary.cpp LIBS kvr_core)
add_dependencies(cli_summary kvrlog-cli)
