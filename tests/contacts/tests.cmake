# Tests of the address book parsers and the contact index.
rufwacht_core_test(test_contacts contacts/ContactsTest.cpp)
if(NOT RUFWACHT_CORE_ONLY)
  rufwacht_qt_test(test_ui_addressbooks contacts/AddressBookListTest.cpp contacts/RadicaleServer.cpp)
  target_link_libraries(test_ui_addressbooks PRIVATE Qt6::Network)
endif()
