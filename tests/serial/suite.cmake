# test_serial: the serial port, port discovery, the programmer exchange and the port control
# (also as the main window's Steuerung) under Wine, against the Linux plant-sim on a
# pseudo-terminal linked into the prefix as COM7.
if(NOT WIN32)
  return()
endif()
set(VEK_PLANT_SIM "${PROJECT_SOURCE_DIR}/build/linux/tools/plant-sim/plant-sim" CACHE FILEPATH
    "The native plant-sim that the serial suite and benchmark start (built by the linux preset)")
vek_suite(test_serial FOLDER serial LIBS anlage_win vek_gui_harness TIMEOUT 900
          SOURCES ${PROJECT_SOURCE_DIR}/tests/VEK_SYSTEM/PlainPeer.cpp)
target_compile_definitions(test_serial PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}"
                           VEK_SHIPPED_CONTROLPOS="${PROJECT_SOURCE_DIR}/resources/controlpos.ini")
# One suite at a time on the prefix's COM7 and the registry's serial keys; the display alone,
# because the port control's tooltip follows the real mouse pointer, which other suites move.
set_tests_properties(test_serial PROPERTIES RESOURCE_LOCK "wine_serial;wine_display")

# Bytes per second into a window with plant-sim flooding (a Windows program, run by hand).
add_executable(bench_serial ${PROJECT_SOURCE_DIR}/bench/bench_serial.cpp ${CMAKE_CURRENT_LIST_DIR}/PlantSim.cpp)
target_link_libraries(bench_serial PRIVATE vek_gui vek_test_support vek_options winmm)
target_compile_definitions(bench_serial PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}")
target_compile_options(bench_serial PRIVATE -O2)
