# Tests of the controller.
rufwacht_qt_test(test_controller calls/ControllerTest.cpp)
rufwacht_core_test(test_callhandler calls/CallHandlerTest.cpp calls/ReverseLookupTest.cpp
                   calls/SoundPolicyTest.cpp)
rufwacht_qt_test(test_debugwindow calls/DebugWindowTest.cpp)
rufwacht_qt_test(test_line_recovery calls/LineRecoveryTest.cpp)
rufwacht_core_test(test_notify calls/NotifyTest.cpp)
