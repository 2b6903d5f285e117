# Tests of the stores.
rufwacht_core_test(test_settings stores/IniFileTest.cpp stores/SettingsTest.cpp)
rufwacht_core_test(test_language stores/LanguageTest.cpp)
rufwacht_core_test(test_journal stores/JournalTest.cpp stores/StoreFileTest.cpp)
rufwacht_core_test(test_phonebook stores/PhonebookTest.cpp)
rufwacht_core_test(test_msn stores/MsnListTest.cpp)
rufwacht_core_test(test_origin stores/OriginLookupTest.cpp)
rufwacht_core_test(test_settings_backup stores/SettingsBackupTest.cpp)
