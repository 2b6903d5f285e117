# Tests that start the real program.
rufwacht_e2e_test(test_e2e_startup e2e/StartupTest.cpp)
# Calls on the simulated line; names also from a CardDAV address book on a real server (radicale).
rufwacht_e2e_test(test_e2e_calls e2e/CallFlowTest.cpp contacts/RadicaleServer.cpp)
# The journal as a web page and a JSON feed, the call events and the line's health;
# the simulated line dropped during a call and restored.
rufwacht_e2e_test(test_e2e_webfeed e2e/WebFeedTest.cpp)
# The line's recovery: a remote CAPI that the test plays itself,
# and a router that vanishes without closing (a network namespace; about a minute).
rufwacht_e2e_test(test_e2e_line e2e/LineRecoveryTest.cpp e2e/FakeRemoteCapi.cpp)
# Passing calls on: a second program on the call-monitor server, the command on every call.
rufwacht_e2e_test(test_e2e_sharing e2e/CallSharingTest.cpp)
# The MQTT output against Debian's mosquitto broker.
rufwacht_e2e_test(test_e2e_mqtt e2e/MqttTest.cpp e2e/MosquittoBroker.cpp)
if(NOT RUFWACHT_CORE_ONLY)
  target_link_libraries(test_e2e_line PRIVATE ${CMAKE_DL_LIBS})
  # The windows on a virtual screen; desktop notifications on a private session bus, without
  # any, and on a Wayland compositor.
  find_package(Qt6 REQUIRED COMPONENTS DBus)
  rufwacht_e2e_test(test_e2e_desktop e2e/DesktopTest.cpp e2e/SessionBus.cpp)
  target_link_libraries(test_e2e_desktop PRIVATE Qt6::DBus)
endif()
