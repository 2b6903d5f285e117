# Tests of the address book parsers and the contact index.
rufwacht_core_test(test_contacts contacts/ContactsTest.cpp)
