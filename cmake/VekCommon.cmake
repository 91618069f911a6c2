# Shared compile settings of every target of the project.

option(VEK_COVERAGE "Instrument every target for line coverage (tools/coverage builds its own trees)" OFF)
if(VEK_COVERAGE)
  # Directory-wide, not on vek_options: the helpers that do not link it (vek-monitor, the
  # ThreadSanitizer cores) are measured too.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fprofile-instr-generate -fcoverage-mapping)
    add_link_options(-fprofile-instr-generate)
  else()
    # GCC's counters map to lines reliably only without optimisation.
    add_compile_options(--coverage -O0)
    add_link_options(--coverage)
  endif()
endif()

add_library(vek_options INTERFACE)
target_compile_options(vek_options INTERFACE -Wall -Wextra)
target_include_directories(vek_options INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  # The library talks ANSI (Windows-1252) to Win32; Windows 7 is the oldest target.
  target_compile_definitions(vek_options INTERFACE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_link_options(vek_options INTERFACE -static)
else()
  if(VEK_SANITIZE)
    target_compile_options(vek_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined)
    target_link_options(vek_options INTERFACE -fsanitize=address,undefined)
  endif()
  if(VEK_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage feedback for the fuzz targets from all of the core.
    target_compile_options(vek_options INTERFACE -fsanitize=fuzzer-no-link)
  endif()
  find_package(Threads REQUIRED)
  target_link_libraries(vek_options INTERFACE Threads::Threads)
endif()

# vek_library(<target> <folder>...): one static library from the .cpp files of folders.
function(vek_library target)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT WIN32)
    foreach(name IN LISTS VEK_WINDOWS_ONLY)
      list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${name})
    endforeach()
  else()
    foreach(name IN LISTS VEK_NATIVE_ONLY)
      list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${name})
    endforeach()
  endif()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC vek_options)
endfunction()

# Wine runs the Windows test programs; the wrapper keeps its prefix inside the build tree.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run CACHE FILEPATH "" FORCE)
endif()

# Every Windows program of the project carries the manifest that asks for common controls 6
# (the themed toolbar, rebar and status bar). It is a source of the executables only: the
# generator expression looks at the target that uses vek_options.
if(WIN32)
  enable_language(RC)
  target_sources(vek_options INTERFACE
    $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${PROJECT_SOURCE_DIR}/cmake/app.rc>)
endif()
