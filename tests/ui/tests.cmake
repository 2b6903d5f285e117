# Tests of ui.
rufwacht_qt_test(test_ui_journal ui/JournalWindowTest.cpp support/TempDir.cpp)
