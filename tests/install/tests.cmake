# The installed program and the Debian package, made from this build. Both install into the
# build folder's install_manifest.txt, so they take turns.
if(NOT RUFWACHT_CORE_ONLY AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_test(NAME test_installed_program
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/installed-program.sh ${CMAKE_COMMAND}
                   ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(test_installed_program PROPERTIES LABELS install SKIP_RETURN_CODE 77
                                              RESOURCE_LOCK install_manifest TIMEOUT 120)
  # A package of a sanitizer build would be no package to ship.
  if(NOT RUFWACHT_SANITIZE)
    add_test(NAME test_debian_package
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/debian-package.sh
                     ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
    set_tests_properties(test_debian_package PROPERTIES LABELS install SKIP_RETURN_CODE 77
                                             RESOURCE_LOCK install_manifest TIMEOUT 300)
  endif()
endif()
