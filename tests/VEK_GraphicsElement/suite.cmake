# Graphic elements. Natively: the portable element model (text form, menu, layers, stored
# records, the element list, the geometry of outlines, lights and shadows). On Windows: the
# elements drawn by the graphics frame window under Wine, with positioning mode; the suite
# captures pixels, so it needs the display to itself.
if(WIN32)
  file(GLOB graphics_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  vek_suite(test_graphics SOURCES ${graphics_tests} LIBS element_gallery_windows vek_gui vek_gui_harness TIMEOUT 180)
  set_tests_properties(test_graphics PROPERTIES RESOURCE_LOCK wine_display)
else()
  file(GLOB model_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/model/*.cpp)
  vek_suite(test_graphic_model SOURCES ${model_tests} LIBS vek_core)
endif()

# The graphics benchmark: a Windows program, run by hand under Wine (bench/ is native only).
if(WIN32)
  add_executable(bench_graphics ${PROJECT_SOURCE_DIR}/bench/bench_graphics.cpp)
  target_link_libraries(bench_graphics PRIVATE element_gallery_windows vek_options psapi)
  target_compile_options(bench_graphics PRIVATE -O2)
endif()
