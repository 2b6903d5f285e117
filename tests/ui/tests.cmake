# Tests of ui.
rufwacht_qt_test(test_ui_journal ui/JournalWindowTest.cpp support/TempDir.cpp)
rufwacht_qt_test(test_ui_popup ui/CallPopupTest.cpp support/TempDir.cpp)
rufwacht_qt_test(test_ui_tray ui/TrayTest.cpp support/TempDir.cpp)
