# Bars and menus: popup menus, toolbar, menu bar, coolbar, status bar, scroll bars, the
# frame's bar layout and information button, and the common-controls manifest.
if(WIN32)
  file(GLOB bars_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  vek_suite(test_gui_bars SOURCES ${bars_tests} LIBS vek_gui vek_gui_harness TIMEOUT 120)
  # Menus and real mouse input need the display to themselves.
  set_tests_properties(test_gui_bars PROPERTIES RESOURCE_LOCK wine_display)
endif()
