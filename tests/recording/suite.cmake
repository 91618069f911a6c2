# test_recording: the released Anlage.exe recording runs to CSV files, driven from outside like
# test_program, with plant-sim on COM1 and exp-server on loopback.
if(NOT WIN32 OR NOT TARGET Anlage_packed)
  return()
endif()
get_target_property(anlage_dir Anlage BINARY_DIR)
vek_suite(test_recording FOLDER recording LIBS anlage_win vek_gui vek_gui_harness TIMEOUT 600
          SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/program/Program.cpp
                  ${CMAKE_CURRENT_SOURCE_DIR}/serial/PlantSim.cpp
                  ${CMAKE_CURRENT_SOURCE_DIR}/experiment/ExperimentPeers.cpp)
add_dependencies(test_recording Anlage_packed)
target_compile_definitions(test_recording PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}" VEK_EXP_SERVER="${VEK_EXP_SERVER}"
                           VEK_WEB_PEER="${PROJECT_SOURCE_DIR}/tests/experiment/web-peer.js"
                           ANLAGE_PACKED="${anlage_dir}/packed/Anlage.exe")
set_tests_properties(test_recording PROPERTIES RESOURCE_LOCK "wine_serial;wine_display")
