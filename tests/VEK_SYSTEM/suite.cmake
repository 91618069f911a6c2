# test_system: byte buffer, threads, TCP streams and the debug trace against real
# sockets on 127.0.0.1 (natively and under Wine).
vek_suite(test_system FOLDER VEK_SYSTEM LIBS vek_core TIMEOUT 180)
if(WIN32)
  return()
endif()

# The debug trace against the real monitor process.
target_compile_definitions(test_system PRIVATE VEK_MONITOR_PATH="$<TARGET_FILE:vek-monitor>")
add_dependencies(test_system vek-monitor)

# The same tests once more under ThreadSanitizer, with a core of their own (ASan and
# TSan do not mix in one program).
file(GLOB tsan_core CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VEK_ARRAYS/*.cpp ${PROJECT_SOURCE_DIR}/VEK_UTIL/*.cpp
     ${PROJECT_SOURCE_DIR}/VEK_SYSTEM/*.cpp)
foreach(name IN LISTS VEK_WINDOWS_ONLY)
  list(REMOVE_ITEM tsan_core ${PROJECT_SOURCE_DIR}/${name})
endforeach()
file(GLOB tsan_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/VEK_SYSTEM/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
add_library(vek_core_tsan STATIC ${tsan_core})
target_include_directories(vek_core_tsan PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(vek_core_tsan PUBLIC -Wall -Wextra -fsanitize=thread -fno-omit-frame-pointer)
target_link_options(vek_core_tsan PUBLIC -fsanitize=thread)
target_link_libraries(vek_core_tsan PUBLIC Threads::Threads)
if(TARGET vek::pcre2)
  target_link_libraries(vek_core_tsan PUBLIC vek::pcre2)
endif()
add_executable(test_system_tsan ${tsan_tests})
target_compile_definitions(test_system_tsan PRIVATE VEK_MONITOR_PATH="$<TARGET_FILE:vek-monitor>")
target_link_libraries(test_system_tsan PRIVATE vek_core_tsan GTest::gtest_main)
add_dependencies(test_system_tsan vek-monitor)
add_test(NAME test_system_tsan COMMAND test_system_tsan)
# halt_on_error: a race report ends the program with an error, so the test fails.
set_tests_properties(test_system_tsan PROPERTIES TIMEOUT 300 ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")
