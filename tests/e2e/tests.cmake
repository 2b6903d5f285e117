# Tests that start the real program.
rufwacht_e2e_test(test_e2e_startup e2e/StartupTest.cpp)
rufwacht_e2e_test(test_e2e_calls e2e/CallFlowTest.cpp)
rufwacht_e2e_test(test_e2e_desktop e2e/DesktopTest.cpp)
rufwacht_e2e_test(test_e2e_settings e2e/SettingsDialogTest.cpp)
rufwacht_e2e_test(test_e2e_webpage e2e/WebPageTest.cpp)
rufwacht_e2e_test(test_e2e_webfeed e2e/WebFeedTest.cpp)
# The line's recovery: the simulated line dropped, and a remote CAPI that the test plays itself.
rufwacht_e2e_test(test_e2e_line e2e/LineRecoveryTest.cpp e2e/FakeRemoteCapi.cpp)
# Names from a CardDAV address book on a real server (radicale).
rufwacht_e2e_test(test_e2e_addressbooks e2e/AddressBookTest.cpp contacts/RadicaleServer.cpp)
# A router that vanishes without closing (a network namespace; about a minute).
rufwacht_e2e_test(test_e2e_dead_peer e2e/DeadPeerTest.cpp)
# Under systemd's watchdog, the test playing the service manager.
rufwacht_e2e_test(test_e2e_watchdog e2e/WatchdogTest.cpp)
if(NOT RUFWACHT_CORE_ONLY)
  # Virtual screens started side by side can race for one display number: one at a time.
  set_tests_properties(test_e2e_desktop test_e2e_settings PROPERTIES RESOURCE_LOCK virtual_screen)
  find_package(Qt6 REQUIRED COMPONENTS Network)
  target_link_libraries(test_e2e_webpage PRIVATE Qt6::Network)
  target_link_libraries(test_e2e_webfeed PRIVATE Qt6::Network)
  target_link_libraries(test_e2e_line PRIVATE Qt6::Network ${CMAKE_DL_LIBS})
  target_link_libraries(test_e2e_dead_peer PRIVATE Qt6::Network)
  target_link_libraries(test_e2e_addressbooks PRIVATE Qt6::Network)
endif()
# Passing calls on: a second program on the call-monitor server, the command on every call.
rufwacht_e2e_test(test_e2e_sharing e2e/CallSharingTest.cpp)
# The MQTT output against Debian's mosquitto broker.
rufwacht_e2e_test(test_e2e_mqtt e2e/MqttTest.cpp e2e/MosquittoBroker.cpp)
# Desktop notifications on a private session bus, without any, and on a Wayland compositor.
if(NOT RUFWACHT_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS DBus)
  rufwacht_e2e_test(test_e2e_notifications e2e/NotificationTest.cpp e2e/SessionBus.cpp)
  target_link_libraries(test_e2e_notifications PRIVATE Qt6::DBus Qt6::Network)
  set_tests_properties(test_e2e_notifications PROPERTIES RESOURCE_LOCK virtual_screen)
endif()
