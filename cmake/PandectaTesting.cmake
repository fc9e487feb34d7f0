# pandecta_add_gtest(NAME SOURCES file... LIBS target... [LABELS label...] [OWN_MAIN])
#
# OWN_MAIN: the test brings its own main() (window tests create a QApplication);
# otherwise GoogleTest's main is linked.
# One GoogleTest executable whose cases CTest discovers one by one. Tests run
# in their own scratch folder under the build tree and on Qt's offscreen
# platform, so window tests need no display.
function(pandecta_add_gtest name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE pandecta_warnings ${ARG_LIBS} pandecta_test_support GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(work_dir ${CMAKE_BINARY_DIR}/test-work/${name})
  file(MAKE_DIRECTORY ${work_dir})
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${work_dir}
    TEST_LIST ${name}_TESTS
    DISCOVERY_TIMEOUT 60)

  # Test discovery splits list-valued properties apart on their way to the
  # discovered tests, so labels and environment are given after discovery, by
  # a script that CTest runs once the discovered tests exist.
  string(JOIN ";" labels ${ARG_LABELS})
  set(properties_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${properties_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES\n"
    "    LABELS \"${labels}\"\n"
    "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;PANDECTA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties_script})
endfunction()
