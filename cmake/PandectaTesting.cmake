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
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} pandecta_test_support GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(work_dir ${CMAKE_BINARY_DIR}/test-work/${name})
  file(MAKE_DIRECTORY ${work_dir})
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${work_dir}
    PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PANDECTA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
      LABELS "${ARG_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()
