# Tests that start the real program.
rufwacht_e2e_test(test_e2e_startup e2e/StartupTest.cpp)
rufwacht_e2e_test(test_e2e_calls e2e/CallFlowTest.cpp)
rufwacht_e2e_test(test_e2e_desktop e2e/DesktopTest.cpp)
find_package(Qt6 REQUIRED COMPONENTS Network)
rufwacht_e2e_test(test_e2e_webpage e2e/WebPageTest.cpp)
target_link_libraries(test_e2e_webpage PRIVATE Qt6::Network)
