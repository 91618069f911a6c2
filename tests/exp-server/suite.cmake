# test_exp_server: the real exp-server program on loopback, with the library's TCP stream
# and the experiment protocol core as its client (native only: the server is a Linux tool).
if(WIN32)
  return()
endif()
vek_suite(test_exp_server FOLDER exp-server LIBS anlage_core TIMEOUT 120)
target_compile_definitions(test_exp_server PRIVATE EXP_SERVER_PATH="$<TARGET_FILE:exp-server>")
add_dependencies(test_exp_server exp-server)
