# The GUI test harness: message pump, dialog answerer, window capture, input sender and the
# artifacts folder. Plain Win32 and GDI+, so every GUI suite can use it.
file(GLOB gui_harness_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(vek_gui_harness STATIC ${gui_harness_sources})
target_link_libraries(vek_gui_harness PUBLIC vek_options gdiplus gdi32 user32)
