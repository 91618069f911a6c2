# vek_pack_executable(<target> [RESOURCES <dir>] [OUTPUT <file>] [OUTPUT_VARIABLE <var>])
#
# In the Windows builds: makes a copy of <target>'s program file with the files of <dir>
# (default: resources/) appended as its resource pack, by running the native vek-pack
# (build the linux preset first). The copy is <build dir>/packed/<target>.exe unless
# OUTPUT says otherwise; OUTPUT_VARIABLE receives its path, or nothing when it is skipped.
# For example, once the program exists:  vek_pack_executable(Anlage)
set(VEK_PACK_TOOL "${PROJECT_SOURCE_DIR}/build/linux/tools/vek-pack/vek-pack"
    CACHE FILEPATH "The native vek-pack program that packs the Windows programs")

function(vek_pack_executable target)
  cmake_parse_arguments(P "" "RESOURCES;OUTPUT;OUTPUT_VARIABLE" "" ${ARGN})
  if(P_OUTPUT_VARIABLE)
    set(${P_OUTPUT_VARIABLE} "" PARENT_SCOPE)
  endif()
  if(NOT WIN32)
    return()
  endif()
  if(NOT EXISTS "${VEK_PACK_TOOL}")
    message(STATUS "vek-pack not found (${VEK_PACK_TOOL}): ${target} is not packed")
    return()
  endif()
  if(NOT P_RESOURCES)
    set(P_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
  endif()
  if(NOT P_OUTPUT)
    set(P_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packed/${target}${CMAKE_EXECUTABLE_SUFFIX})
  endif()
  get_filename_component(out_dir ${P_OUTPUT} DIRECTORY)
  file(GLOB resource_files CONFIGURE_DEPENDS ${P_RESOURCES}/*)
  add_custom_command(
    OUTPUT ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${VEK_PACK_TOOL} $<TARGET_FILE:${target}> ${P_RESOURCES} -o ${P_OUTPUT}
    DEPENDS ${target} ${resource_files} ${VEK_PACK_TOOL}
    COMMENT "Packing the resources of ${P_RESOURCES} into ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target}_packed ALL DEPENDS ${P_OUTPUT})
  if(P_OUTPUT_VARIABLE)
    set(${P_OUTPUT_VARIABLE} ${P_OUTPUT} PARENT_SCOPE)
  endif()
endfunction()
