# Tests of line.
find_package(Threads REQUIRED)
rufwacht_core_test(test_line_codec line/CapiMessagesTest.cpp line/CodeTablesTest.cpp)
rufwacht_core_test(test_line_capi line/CapiApplicationTest.cpp)
rufwacht_core_test(test_line_sim line/SimulatedLineTest.cpp)
# Stand-ins for libcapi20, loaded by path: one complete, one lacking capi20_get_profile. They
# play the simulated line of the core library, linked in and kept out of their exported symbols.
if(NOT WIN32)
  foreach(variant fake_capi20 fake_capi20_without_profile)
    add_library(${variant} SHARED line/FakeCapi20Library.cpp)
    target_link_libraries(${variant} PRIVATE rufwacht_core Threads::Threads)
    target_link_options(${variant} PRIVATE LINKER:--exclude-libs,ALL)
    set_target_properties(${variant} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                VISIBILITY_INLINES_HIDDEN ON)
  endforeach()
  target_compile_definitions(fake_capi20_without_profile PRIVATE FAKE_CAPI_WITHOUT_GET_PROFILE)
  rufwacht_core_test(test_line_loader line/CapiLoaderTest.cpp)
  add_dependencies(test_line_loader fake_capi20 fake_capi20_without_profile)
  target_compile_definitions(test_line_loader PRIVATE
    FAKE_CAPI_LIBRARY="$<TARGET_FILE:fake_capi20>"
    FAKE_CAPI_WITHOUT_PROFILE_LIBRARY="$<TARGET_FILE:fake_capi20_without_profile>")
endif()
rufwacht_core_test(test_line_callmonitor line/CallMonitorTest.cpp)
