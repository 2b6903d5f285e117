# Tests of the controller.
rufwacht_qt_test(test_controller calls/ControllerTest.cpp)
rufwacht_core_test(test_callhandler calls/CallHandlerTest.cpp)
rufwacht_qt_test(test_debugwindow calls/DebugWindowTest.cpp)
rufwacht_qt_test(test_line_recovery calls/LineRecoveryTest.cpp)
# The texts of the call outputs: call-monitor lines, the command line of oncall, the print-out.
rufwacht_core_test(test_call_output_texts calls/CallOutputTextsTest.cpp)
rufwacht_qt_test(test_call_outputs calls/CallOutputsTest.cpp)
rufwacht_core_test(test_notify calls/NotifyTest.cpp)
