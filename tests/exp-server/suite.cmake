# test_exp_server: the real exp-server program on loopback, with the library's TCP stream
# and the experiment protocol core as its client (native only: the server is a Linux tool).
if(WIN32)
  return()
endif()
vek_suite(test_exp_server FOLDER exp-server LIBS anlage_core TIMEOUT 120)
target_compile_definitions(test_exp_server PRIVATE EXP_SERVER_PATH="$<TARGET_FILE:exp-server>")
add_dependencies(test_exp_server exp-server)

# The same client once more under ThreadSanitizer: the stream's event thread cuts frames while
# the test thread takes them, as the GUI thread does in the program.
file(GLOB exp_tsan_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
add_executable(test_exp_server_tsan ${exp_tsan_sources}
               ${PROJECT_SOURCE_DIR}/app/TelemetryDecoder.cpp ${PROJECT_SOURCE_DIR}/app/ProtocolMessage.cpp
               ${PROJECT_SOURCE_DIR}/app/FrameReassembler.cpp ${PROJECT_SOURCE_DIR}/app/ExperimentSession.cpp
               ${PROJECT_SOURCE_DIR}/app/AddressQuery.cpp)
target_compile_definitions(test_exp_server_tsan PRIVATE EXP_SERVER_PATH="$<TARGET_FILE:exp-server>")
target_link_libraries(test_exp_server_tsan PRIVATE vek_core_tsan GTest::gtest_main)
add_dependencies(test_exp_server_tsan exp-server)
add_test(NAME test_exp_server_tsan COMMAND test_exp_server_tsan)
set_tests_properties(test_exp_server_tsan PROPERTIES TIMEOUT 180 ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")
