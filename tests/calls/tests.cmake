# Tests of the controller.
rufwacht_qt_test(test_controller calls/ControllerTest.cpp support/TempDir.cpp)
