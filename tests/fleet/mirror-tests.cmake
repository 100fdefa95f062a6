# The mirror test: a script that starts the installer as a deployment system
# does, against the demo repository and then against nginx serving the mirror
# (see the script). Its report joins the test programs' reports.
add_test(NAME mirror_tests
  COMMAND ${CMAKE_SOURCE_DIR}/tests/fleet/mirror-test ${CMAKE_BINARY_DIR}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(mirror_tests PROPERTIES TIMEOUT 600)
