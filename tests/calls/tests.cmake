# Tests of the controller.
rufwacht_qt_test(test_controller calls/ControllerTest.cpp support/ProgramFolder.cpp
                 support/TempDir.cpp)
rufwacht_core_test(test_callhandler calls/CallHandlerTest.cpp calls/ReverseLookupTest.cpp
                   support/TempDir.cpp)
rufwacht_qt_test(test_debugwindow calls/DebugWindowTest.cpp support/ProgramFolder.cpp
                 support/TempDir.cpp)
