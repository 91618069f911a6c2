# Controls: placement and stored positions, buttons (drawing, styles, keys), text controls,
# labels, combo boxes, image controls and containers. Windows only; the suite captures pixels
# and sends real keys, so it needs the display to itself.
if(WIN32)
  file(GLOB control_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  vek_suite(test_controls SOURCES ${control_tests} LIBS vek_gui vek_gui_harness TIMEOUT 120)
  set_tests_properties(test_controls PROPERTIES RESOURCE_LOCK wine_display)
endif()
