# test_program: the released Anlage.exe (x64, resource pack appended) copied alone into an
# empty folder and driven from outside through its windows, with plant-sim on COM1 and
# exp-server on loopback.
if(NOT WIN32 OR NOT TARGET Anlage_packed)
  return()
endif()
set(VEK_PLANT_SIM "${PROJECT_SOURCE_DIR}/build/linux/tools/plant-sim/plant-sim" CACHE FILEPATH
    "The native plant-sim that the serial suite and benchmark start (built by the linux preset)")
get_target_property(anlage_dir Anlage BINARY_DIR)
vek_suite(test_program FOLDER program LIBS anlage_win vek_gui vek_gui_harness TIMEOUT 600
          SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/serial/PlantSim.cpp
                  ${CMAKE_CURRENT_SOURCE_DIR}/experiment/ExperimentPeers.cpp)
add_dependencies(test_program Anlage_packed)
target_compile_definitions(test_program PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}" VEK_EXP_SERVER="${VEK_EXP_SERVER}"
                           VEK_WEB_PEER="${PROJECT_SOURCE_DIR}/tests/experiment/web-peer.js"
                           ANLAGE_PACKED="${anlage_dir}/packed/Anlage.exe"
                           ANLAGE_DEVELOPMENT="${anlage_dir}/Anlage.exe"
                           PROGRAM_RESOURCES="${CMAKE_BINARY_DIR}/program-resources")
# COM1 and the serial keys, and the shared display: real clicks into the program are cancelled
# when another suite activates its windows, and a suite's input to its own is taken by ours.
set_tests_properties(test_program PROPERTIES RESOURCE_LOCK "wine_serial;wine_display")

# The whole program end to end against bare Win32 programs: latency from plant-sim to the
# value text on screen, full repaint, idle processor time, start to first paint, working set
# under telemetry (Windows programs, run by hand under Wine).
add_executable(bench_bare_window WIN32 ${PROJECT_SOURCE_DIR}/bench/bench_bare_window.cpp)
target_compile_options(bench_bare_window PRIVATE -O2)
target_link_libraries(bench_bare_window PRIVATE vek_options)
file(GLOB bench_program_figures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/program/*.cpp)
add_executable(bench_program ${PROJECT_SOURCE_DIR}/bench/bench_program.cpp ${bench_program_figures}
                             ${CMAKE_CURRENT_SOURCE_DIR}/serial/PlantSim.cpp)
target_link_libraries(bench_program PRIVATE anlage_win vek_test_support vek_gui_harness vek_options psapi winmm)
target_compile_options(bench_program PRIVATE -O2)
target_compile_definitions(bench_program PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}"
                           ANLAGE_PACKED="${anlage_dir}/packed/Anlage.exe"
                           ANLAGE_CONTROLPOS="${PROJECT_SOURCE_DIR}/resources/controlpos.ini"
                           PROGRAM_RESOURCES="${CMAKE_BINARY_DIR}/program-resources"
                           BENCH_BARE_WINDOW="$<TARGET_FILE:bench_bare_window>")
add_dependencies(bench_program Anlage_packed bench_bare_window)

# The telemetry decoder with recording on against off, at the line's rate and flooding (a
# Windows program, run by hand under Wine).
add_executable(bench_recording ${PROJECT_SOURCE_DIR}/bench/bench_recording.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/serial/PlantSim.cpp)
target_link_libraries(bench_recording PRIVATE anlage_win vek_test_support vek_options psapi winmm)
target_compile_options(bench_recording PRIVATE -O2)
target_compile_definitions(bench_recording PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}"
                           ANLAGE_CONTROLPOS="${PROJECT_SOURCE_DIR}/resources/controlpos.ini")
