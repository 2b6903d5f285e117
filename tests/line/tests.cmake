# Tests of line.
rufwacht_core_test(test_line_codec line/CapiMessagesTest.cpp line/CodeTablesTest.cpp)
rufwacht_core_test(test_line_capi line/cCAPITest.cpp)

rufwacht_core_test(test_line_sim line/SimulatedLineTest.cpp support/TempDir.cpp)
