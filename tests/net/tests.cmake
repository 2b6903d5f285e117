# Tests of the network services' pure parts.
rufwacht_core_test(test_net_request net/WebRequestTest.cpp)
rufwacht_core_test(test_net_page net/JournalPageTest.cpp net/JsonTest.cpp)
rufwacht_core_test(test_net_update net/UpdateCheckTest.cpp)
rufwacht_qt_test(test_net_webserver net/WebServerTest.cpp)
rufwacht_qt_test(test_net_download net/DownloaderTest.cpp)
rufwacht_qt_test(test_net_updatewindow net/UpdateWindowTest.cpp)
rufwacht_qt_test(test_net_mqtt_messages net/MqttMessagesTest.cpp)
