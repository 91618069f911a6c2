# GUI suites: Windows only, each program built from the files it names.
if(WIN32)
  vek_suite(test_gui_harness SOURCES ${CMAKE_CURRENT_LIST_DIR}/HarnessTest.cpp
            LIBS vek_gui_harness TIMEOUT 60)
  # Captures need an unobscured window: one GUI suite on the shared display at a time.
  set_tests_properties(test_gui_harness PROPERTIES RESOURCE_LOCK wine_display)
endif()
