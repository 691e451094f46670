# The read-back step of the Windows app tests. Under Wine the tests cannot start the Linux reader, so
# they copy every workbook they check, with what they expect of it, into test-results/app-workbooks;
# this native step reads them all back with openpyxl right after morvane_app_tests has run.
# Natively the tests read each workbook back themselves. Also: the CLI tests run the built
# morvane-export, so the test executable depends on it.
if(TARGET morvane_app_tests AND TARGET morvane-export)
  add_dependencies(morvane_app_tests morvane-export)
endif()
if(WIN32 AND TARGET morvane_app_tests)
  add_test(NAME morvane_app_workbooks
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/app/read_workbook.py
                   --check-dir ${MORVANE_TEST_RESULTS}/app-workbooks)
  set_tests_properties(morvane_app_tests PROPERTIES FIXTURES_SETUP app_workbooks)
  set_tests_properties(morvane_app_workbooks PROPERTIES FIXTURES_REQUIRED app_workbooks TIMEOUT 300)
endif()
