# cmake -DSOURCE=<dir> -DDEST=<dir> -P StageResources.cmake
# Copies the program's resources into a development build's VEK-Resourcen folder. The INI
# files are copied only when missing: the layouter writes its work into them.
file(MAKE_DIRECTORY "${DEST}")
file(GLOB files "${SOURCE}/*")
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  if(name MATCHES "\\.ini$")
    if(NOT EXISTS "${DEST}/${name}")
      file(COPY "${file}" DESTINATION "${DEST}")
    endif()
  else()
    file(COPY_FILE "${file}" "${DEST}/${name}" ONLY_IF_DIFFERENT)
  endif()
endforeach()
