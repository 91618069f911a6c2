# PCRE2 (8-bit library) as the imported target vek::pcre2: the system's libpcre2-dev on
# Linux, the static build of tools/build-pcre2 for the MinGW targets.

if(WIN32)
  set(VEK_PCRE2_ROOT ${PROJECT_SOURCE_DIR}/build/deps/pcre2-${CMAKE_SYSTEM_PROCESSOR}
      CACHE PATH "PCRE2 installation for this MinGW target")
  # Plain paths: the toolchain's find-root settings would look only inside the MinGW sysroot.
  set(pcre2_include ${VEK_PCRE2_ROOT}/include)
  set(pcre2_library ${VEK_PCRE2_ROOT}/lib/libpcre2-8.a)
  if(NOT EXISTS ${pcre2_include}/pcre2.h OR NOT EXISTS ${pcre2_library})
    message(FATAL_ERROR "PCRE2 for ${CMAKE_SYSTEM_PROCESSOR} not found in ${VEK_PCRE2_ROOT}: run tools/setup")
  endif()
else()
  find_path(pcre2_include pcre2.h)
  find_library(pcre2_library pcre2-8)
  if(NOT pcre2_include OR NOT pcre2_library)
    message(FATAL_ERROR "PCRE2 not found: run tools/setup (libpcre2-dev)")
  endif()
endif()

add_library(vek::pcre2 STATIC IMPORTED GLOBAL)
set_target_properties(vek::pcre2 PROPERTIES
  IMPORTED_LOCATION ${pcre2_library}
  INTERFACE_INCLUDE_DIRECTORIES ${pcre2_include})
if(WIN32)
  # The headers otherwise declare the functions as DLL imports.
  set_target_properties(vek::pcre2 PROPERTIES INTERFACE_COMPILE_DEFINITIONS PCRE2_STATIC)
endif()
