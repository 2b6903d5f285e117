# Tests of the Windows half that the cross build runs under wine.
# Stand-ins for an adapter maker's Capi2032.dll: one complete, one lacking CAPI_GET_PROFILE.
foreach(variant Capi2032 capi2032_without_profile)
  add_library(${variant} SHARED windows/FakeCapi2032.cpp)
  target_link_libraries(${variant} PRIVATE rufwacht_core)
  set_target_properties(${variant} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
                                                      ${CMAKE_CURRENT_BINARY_DIR})
endforeach()
target_compile_definitions(capi2032_without_profile PRIVATE FAKE_CAPI_WITHOUT_GET_PROFILE)

rufwacht_core_test(test_windows_capi windows/WindowsCapiDriverTest.cpp)
add_dependencies(test_windows_capi Capi2032 capi2032_without_profile)
set_target_properties(test_windows_capi PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                   ${CMAKE_CURRENT_BINARY_DIR})
rufwacht_core_test(test_windows_files windows/WindowsFilesTest.cpp)
rufwacht_core_test(test_windows_shelllink windows/ShellLinkTest.cpp)
target_link_libraries(test_windows_shelllink PRIVATE shell32)
rufwacht_core_test(test_windows_instancelock windows/InstanceLockTest.cpp)
rufwacht_core_test(test_windows_console windows/ConsoleEventsTest.cpp)
