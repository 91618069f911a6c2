# The plant picture: level gauge, pumps, supply lines and the tank's elements, drawn by a
# graphics frame under Wine and checked in state and captured pixels, and the plant gallery
# with its captures. The suite captures pixels, so it needs the display to itself.
if(WIN32)
  file(GLOB plant_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  vek_suite(test_plant SOURCES ${plant_tests} ${PROJECT_SOURCE_DIR}/tests/VEK_GraphicsElement/GraphicsHost.cpp LIBS plant_gallery_windows vek_gui vek_gui_harness TIMEOUT 180)
  target_compile_definitions(test_plant PRIVATE SHIPPED_CONTROLPOS="${PROJECT_SOURCE_DIR}/resources/controlpos.ini")
  set_tests_properties(test_plant PROPERTIES RESOURCE_LOCK wine_display)
endif()

# The plant picture under telemetry-rate and flat-out updates (run by hand under Wine).
if(WIN32)
  add_executable(bench_plant ${PROJECT_SOURCE_DIR}/bench/bench_plant.cpp)
  target_link_libraries(bench_plant PRIVATE plant_gallery_windows vek_options)
  target_compile_options(bench_plant PRIVATE -O2)
endif()
