# Tests of the support modules.
rufwacht_core_test(test_textfile support/TextFileTest.cpp)
rufwacht_core_test(test_support support/NumericTextTest.cpp support/AppPathsTest.cpp
                   support/CommandLineTest.cpp support/LoggingTest.cpp)
