# test_plant_sim: the tank model, and the real plant-sim program on a pseudo-terminal
# (native only: the simulator is a Linux program).
if(WIN32)
  return()
endif()
vek_suite(test_plant_sim FOLDER plant-sim LIBS plant_model TIMEOUT 120)
target_compile_definitions(test_plant_sim PRIVATE PLANT_SIM_PATH="$<TARGET_FILE:plant-sim>")
add_dependencies(test_plant_sim plant-sim)
