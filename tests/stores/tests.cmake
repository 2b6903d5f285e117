# Tests of the stores.
rufwacht_core_test(test_settings stores/IniFileTest.cpp stores/SettingsTest.cpp
                   support/TempDir.cpp)
rufwacht_core_test(test_language stores/LanguageTest.cpp support/TempDir.cpp)
rufwacht_qt_test(test_setlang stores/SetLangTest.cpp support/TempDir.cpp)
rufwacht_core_test(test_journal stores/JournalTest.cpp support/TempDir.cpp)
rufwacht_core_test(test_phonebook stores/PhonebookTest.cpp support/TempDir.cpp)
rufwacht_core_test(test_msn stores/MSNTest.cpp support/TempDir.cpp)
rufwacht_core_test(test_origin stores/VorwahlenTest.cpp support/TempDir.cpp)
