# The pack builder end to end: a small program that reads its own pack, packed by the
# real vek-pack (natively by the tool test, for Windows through vek_pack_executable).
set(pack_dir ${CMAKE_CURRENT_SOURCE_DIR}/pack)
add_executable(pack_probe ${pack_dir}/probe/pack_probe.cpp)
target_link_libraries(pack_probe PRIVATE vek_core vek_options)

if(NOT WIN32)
  add_executable(test_pack_tool ${pack_dir}/VekPackToolTest.cpp)
  target_link_libraries(test_pack_tool PRIVATE vek_test_support GTest::gtest_main vek_options)
  target_compile_definitions(test_pack_tool PRIVATE VEK_PACK_TOOL_PATH="$<TARGET_FILE:vek-pack>"
                             PACK_PROBE_PATH="$<TARGET_FILE:pack_probe>" PACK_RESOURCES="${pack_dir}/resources")
  add_dependencies(test_pack_tool vek-pack pack_probe)
  add_test(NAME test_pack_tool COMMAND test_pack_tool)
  set_tests_properties(test_pack_tool PROPERTIES TIMEOUT 120)
else()
  vek_pack_executable(pack_probe RESOURCES ${pack_dir}/resources OUTPUT_VARIABLE packed_probe)
  if(packed_probe)
    # The probe reads its own pack: the program path is given relative to the build dir.
    file(RELATIVE_PATH probe_arg ${CMAKE_CURRENT_BINARY_DIR} ${packed_probe})
    add_test(NAME test_pack_probe COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${packed_probe} ${probe_arg})
    set_tests_properties(test_pack_probe PROPERTIES TIMEOUT 120
      PASS_REGULAR_EXPRESSION "entries=2.*probe.ini=\\[\\[probe\\].*ok=1.*setting.txt=\\[setting\\].*removed=1")
  endif()
endif()
