# test_experiment: the experiment client under Wine against the native exp-server, a Node
# web server (chunked replies) and a flooding server of its own. The peers are Linux
# programs that the test starts through Wine.
if(NOT WIN32)
  return()
endif()
set(VEK_EXP_SERVER "${PROJECT_SOURCE_DIR}/build/linux/tools/exp-server/exp-server" CACHE FILEPATH
    "The native exp-server that the experiment suite starts (built by the linux preset)")
vek_suite(test_experiment FOLDER experiment LIBS anlage_win vek_gui_harness TIMEOUT 300)
target_compile_definitions(test_experiment PRIVATE VEK_EXP_SERVER="${VEK_EXP_SERVER}"
                           VEK_WEB_PEER="${CMAKE_CURRENT_LIST_DIR}/web-peer.js")
# It shows and activates windows: one GUI suite on the shared display at a time, or a drag
# of another suite breaks off when the foreground moves to ours.
set_tests_properties(test_experiment PROPERTIES RESOURCE_LOCK wine_display)

# Server 'D' frames per second through the GUI thread (a Windows program, run by hand).
add_executable(bench_experiment ${PROJECT_SOURCE_DIR}/bench/bench_experiment.cpp
               ${CMAKE_CURRENT_LIST_DIR}/FloodServer.cpp)
target_link_libraries(bench_experiment PRIVATE anlage_win vek_options winmm)
target_compile_options(bench_experiment PRIVATE -O2)
