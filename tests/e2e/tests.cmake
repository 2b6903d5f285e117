# Tests that start the real program.
rufwacht_e2e_test(test_e2e_startup e2e/StartupTest.cpp)
rufwacht_e2e_test(test_e2e_calls e2e/CallFlowTest.cpp)
rufwacht_e2e_test(test_e2e_desktop e2e/DesktopTest.cpp)
rufwacht_e2e_test(test_e2e_settings e2e/SettingsDialogTest.cpp)
