# The control gallery: captures of it as a person sees it, the layouter's arrangement kept
# over a restart of the program, and a leak loop. Its benchmark is a Windows program too, run
# by hand under Wine.
if(WIN32)
  file(GLOB gallery_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  vek_suite(test_control_gallery SOURCES ${gallery_tests} LIBS control_gallery_frame vek_gui_harness TIMEOUT 600)
  target_compile_definitions(test_control_gallery PRIVATE CONTROL_GALLERY_PATH="$<TARGET_FILE:control-gallery>")
  add_dependencies(test_control_gallery control-gallery)
  set_tests_properties(test_control_gallery PROPERTIES RESOURCE_LOCK wine_display)

  add_executable(bench_controls ${PROJECT_SOURCE_DIR}/bench/bench_controls.cpp)
  target_link_libraries(bench_controls PRIVATE control_gallery_frame vek_options)
  target_compile_options(bench_controls PRIVATE -O2)
endif()
