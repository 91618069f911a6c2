# test_program: the released Anlage.exe (x64, resource pack appended) copied alone into an
# empty folder and driven from outside through its windows, with plant-sim on COM1.
if(NOT WIN32 OR NOT TARGET Anlage_packed)
  return()
endif()
set(VEK_PLANT_SIM "${PROJECT_SOURCE_DIR}/build/linux/tools/plant-sim/plant-sim" CACHE FILEPATH
    "The native plant-sim that the serial suite and benchmark start (built by the linux preset)")
get_target_property(anlage_dir Anlage BINARY_DIR)
vek_suite(test_program FOLDER program LIBS vek_gui vek_gui_harness TIMEOUT 300
          SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/serial/PlantSim.cpp)
add_dependencies(test_program Anlage_packed)
target_compile_definitions(test_program PRIVATE VEK_PLANT_SIM="${VEK_PLANT_SIM}"
                           ANLAGE_PACKED="${anlage_dir}/packed/Anlage.exe"
                           PROGRAM_RESOURCES="${CMAKE_BINARY_DIR}/program-resources")
set_tests_properties(test_program PROPERTIES RESOURCE_LOCK wine_serial)
