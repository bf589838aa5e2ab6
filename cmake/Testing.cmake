# One ctest entry per test executable. In the Windows build every test runs
# under Wine and needs the "wine" fixture: it creates the build's own prefix
# once and keeps wineserver and Wine's helper processes up for the whole run.
function(snapdisc_add_gtest target)
  cmake_parse_arguments(A "" "" "LABELS;PROPERTIES" ${ARGN})
  if(WIN32)
    list(APPEND A_PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES TIMEOUT 120 LABELS "${A_LABELS}" ${A_PROPERTIES})
endfunction()

if(WIN32)
  add_test(NAME wine.start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --init)
  add_test(NAME wine.stop COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --shutdown)
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()
