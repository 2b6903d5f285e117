# Tests of ui.
rufwacht_qt_test(test_ui_journal ui/JournalWindowTest.cpp)
rufwacht_qt_test(test_ui_popup ui/CallPopupTest.cpp)
rufwacht_qt_test(test_ui_tray ui/TrayTest.cpp)
rufwacht_qt_test(test_ui_autostart ui/AutostartTest.cpp)
rufwacht_qt_test(test_ui_settings ui/SettingsDialogTest.cpp)
