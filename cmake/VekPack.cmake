# vek_pack_executable(<target> [RESOURCES <dir>] [OUTPUT <file>] [OUTPUT_VARIABLE <var>])
#
# In the Windows builds: makes a copy of <target>'s program file with the files of <dir>
# (default: the program's resources, see vek_program_resources) appended as its resource
# pack, its debug sections left out, by running the native vek-pack (build the linux preset first). The copy is <build dir>/packed/<target>.exe unless
# OUTPUT says otherwise; OUTPUT_VARIABLE receives its path, or nothing when it is skipped.
# For example, once the program exists:  vek_pack_executable(Anlage)
set(VEK_PACK_TOOL "${PROJECT_SOURCE_DIR}/build/linux/tools/vek-pack/vek-pack"
    CACHE FILEPATH "The native vek-pack program that packs the Windows programs")
set(VEK_ICON_GEN "${PROJECT_SOURCE_DIR}/build/linux/tools/icon-gen/icon-gen"
    CACHE FILEPATH "The native icon-gen program that draws the program's icons and bitmaps")

# vek_program_resources(<var>): <var> := the build-tree folder with the program's resources:
# the files of resources/ and the pictures the native icon-gen draws (skipped with a note
# when it is not built). The target vek_resources keeps the folder current.
function(vek_program_resources out)
  set(dir ${CMAKE_BINARY_DIR}/program-resources)
  set(${out} ${dir} PARENT_SCOPE)
  if(TARGET vek_resources)
    return()
  endif()
  file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
  set(draw)
  if(EXISTS "${VEK_ICON_GEN}")
    set(draw COMMAND ${VEK_ICON_GEN} ${dir})
  else()
    message(STATUS "icon-gen not found (${VEK_ICON_GEN}): the program's resources have no icons")
    set(VEK_ICON_GEN "")
  endif()
  add_custom_command(
    OUTPUT ${dir}.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${files} ${dir}
    ${draw}
    COMMAND ${CMAKE_COMMAND} -E touch ${dir}.stamp
    DEPENDS ${files} ${VEK_ICON_GEN}
    COMMENT "Gathering the program's resources in ${dir}"
    VERBATIM)
  add_custom_target(vek_resources DEPENDS ${dir}.stamp)
endfunction()

# vek_stage_resources(<target>): the development build finds the program's resources in
# VEK-Resourcen beside <target>. Pictures are refreshed on every build; controlpos.ini and
# resource.ini only when missing, so what the layouter stored there stays.
function(vek_stage_resources target)
  vek_program_resources(dir)
  add_custom_target(${target}_resources ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${dir} -DDEST=$<TARGET_FILE_DIR:${target}>/VEK-Resourcen
            -P ${PROJECT_SOURCE_DIR}/cmake/StageResources.cmake
    VERBATIM)
  add_dependencies(${target}_resources vek_resources ${target})
endfunction()

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
  set(gathered "")
  if(NOT P_RESOURCES)
    vek_program_resources(P_RESOURCES)
    set(gathered ${P_RESOURCES}.stamp)
  endif()
  if(NOT P_OUTPUT)
    set(P_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packed/${target}${CMAKE_EXECUTABLE_SUFFIX})
  endif()
  get_filename_component(out_dir ${P_OUTPUT} DIRECTORY)
  file(GLOB resource_files CONFIGURE_DEPENDS ${P_RESOURCES}/*)
  # The program handed out carries no debug sections (8 of its 9.7 MB): under Wine they made
  # every start about 45 ms slower (bench_program start). The unpacked build keeps them.
  set(program $<TARGET_FILE:${target}>)
  set(strip)
  if(CMAKE_STRIP)
    set(program ${P_OUTPUT}.stripped)
    set(strip COMMAND ${CMAKE_STRIP} --strip-debug -o ${program} $<TARGET_FILE:${target}>)
  endif()
  add_custom_command(
    OUTPUT ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    ${strip}
    COMMAND ${VEK_PACK_TOOL} ${program} ${P_RESOURCES} -o ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${P_OUTPUT}.stripped
    DEPENDS ${target} ${resource_files} ${gathered} ${VEK_PACK_TOOL}
    COMMENT "Packing the resources of ${P_RESOURCES} into ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target}_packed ALL DEPENDS ${P_OUTPUT})
  if(gathered)
    add_dependencies(${target}_packed vek_resources)
  endif()
  if(P_OUTPUT_VARIABLE)
    set(${P_OUTPUT_VARIABLE} ${P_OUTPUT} PARENT_SCOPE)
  endif()
endfunction()
