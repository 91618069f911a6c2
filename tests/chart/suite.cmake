# The chart control and the plant's value texts and level chart, drawn in real windows and
# checked in the captured pixels. The plant's controls are compiled in directly, so the
# suite does not wait for the rest of the application.
if(WIN32)
  file(GLOB chart_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  set(plant_texts TxtWert TxtMix1 TxtMix2 TxtAktion Verlauf)
  list(TRANSFORM plant_texts PREPEND ${PROJECT_SOURCE_DIR}/app/)
  list(TRANSFORM plant_texts APPEND .cpp)
  vek_suite(test_chart SOURCES ${chart_tests} ${plant_texts} LIBS vek_gui vek_gui_harness TIMEOUT 120)
  set_tests_properties(test_chart PROPERTIES RESOURCE_LOCK wine_display)
endif()

# Its benchmark is a Windows program, run by hand under Wine (bench/ is native only).
if(WIN32)
  add_executable(bench_chart ${PROJECT_SOURCE_DIR}/bench/bench_chart.cpp)
  target_link_libraries(bench_chart PRIVATE vek_gui vek_options)
  target_compile_options(bench_chart PRIVATE -O2)
endif()
