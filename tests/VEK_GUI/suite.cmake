# GUI suites: Windows only, each program built from the files it names. Captures need an
# unobscured window: one GUI suite on the shared display at a time.

# The drawing device and images: memory contexts and one real window.
if(WIN32)
  file(GLOB device_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/device/*.cpp)
  vek_suite(test_gui_device SOURCES ${device_tests} ${PROJECT_SOURCE_DIR}/tests/VEK_SYSTEM/PlainPeer.cpp
            LIBS vek_gui vek_gui_harness TIMEOUT 120)
  # One test paints a real window and reads it back from the screen.
  set_tests_properties(test_gui_device PROPERTIES RESOURCE_LOCK wine_display)
  # Its benchmark is a Windows program, run by hand under Wine (bench/ is native only).
  add_executable(bench_device ${PROJECT_SOURCE_DIR}/bench/bench_device.cpp)
  target_link_libraries(bench_device PRIVATE vek_gui vek_options)
  target_compile_options(bench_device PRIVATE -O2)
endif()

# The application object: ids, command line, configuration files, wait, timer, bindings.
if(WIN32)
  file(GLOB app_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/app/*.cpp)
  vek_suite(test_gui_app SOURCES ${app_tests} LIBS vek_gui vek_gui_harness TIMEOUT 120)

  # Start-up without a main window, and the order of the globals around the program's own.
  add_executable(startup_no_main_window ${CMAKE_CURRENT_LIST_DIR}/startup/NoMainWindow.cpp)
  target_link_libraries(startup_no_main_window PRIVATE vek_gui vek_options)
  add_test(NAME startup_no_main_window COMMAND startup_no_main_window)
  set_tests_properties(startup_no_main_window PROPERTIES TIMEOUT 60
    PASS_REGULAR_EXPRESSION "construction order ok\n.*box \\[FEHLER\\] type 16: Die Anwendnung konnte nicht gestartet \r\nwerden, da kein Hauptfenster existiert.*exit code 0\ndestruction order ok")
endif()

# Windows, frames and dialogs; scrolling, tooltips and anchors.
if(WIN32)
  file(GLOB window_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/window/*.cpp)
  vek_suite(test_gui_window SOURCES ${window_tests} LIBS vek_gui vek_gui_harness TIMEOUT 120)
  set_tests_properties(test_gui_window test_gui_app PROPERTIES RESOURCE_LOCK wine_display)
endif()

# The window demo captured as a person sees it (PNG files in the artifacts folder).
if(WIN32)
  file(GLOB demo_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/demo/*.cpp)
  vek_suite(test_gui_demo SOURCES ${demo_tests} LIBS window_demo_windows vek_gui_harness TIMEOUT 120)
  set_tests_properties(test_gui_demo PROPERTIES RESOURCE_LOCK wine_display)
endif()

# The application timer's benchmark: a Windows program, run by hand under Wine.
if(WIN32)
  add_executable(bench_timer ${PROJECT_SOURCE_DIR}/bench/bench_timer.cpp)
  target_link_libraries(bench_timer PRIVATE vek_gui vek_options winmm)
  target_compile_options(bench_timer PRIVATE -O2)
endif()

# Resizing a frame: messages, child moves and configuration writes per step (run by hand).
if(WIN32)
  add_executable(bench_resize ${PROJECT_SOURCE_DIR}/bench/bench_resize.cpp)
  target_link_libraries(bench_resize PRIVATE vek_gui vek_options winmm)
  target_compile_options(bench_resize PRIVATE -O2)
endif()

# Windows still open when the loop ends are closed while their objects are whole.
if(WIN32)
  add_executable(startup_windows_closed ${CMAKE_CURRENT_LIST_DIR}/startup/WindowsClosedAtLoopEnd.cpp)
  target_link_libraries(startup_windows_closed PRIVATE vek_gui vek_options)
  add_test(NAME startup_windows_closed COMMAND startup_windows_closed)
  set_tests_properties(startup_windows_closed PROPERTIES TIMEOUT 60 RESOURCE_LOCK wine_display
    PASS_REGULAR_EXPRESSION "main onDestroy\ntool onClose\ntool onDestroy\nexit code 0")
endif()
