kvr_add_test(analysis_locator analysis/tst_locator.cpp LIBS kvr_core)
kvr_add_test(analysis_exchange analysis/tst_analysis.cpp LIBS kvr_core)
