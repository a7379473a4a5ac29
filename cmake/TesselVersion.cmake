# The SDK's version, from project(VERSION), in everything it ships:
#
# - the generated header tessel/TesselVersion.h (C macros), part of the
#   platform library's public headers;
# - tessel_set_library_version(<target> <description>): the library's
#   version (Linux: libVendra.so.1.0.0 with the SONAME libVendra.so.1,
#   the major version) and, on Windows, a VERSIONINFO resource with the file
#   and product version, the product name, the given file description and the
#   DLL's file name. The description is kept in the target's property
#   TESSEL_DESCRIPTION (the package's pkg-config files use it too).
set(TESSEL_PRODUCT_NAME "Tessel PC SDK")
set(TESSEL_GENERATED_INCLUDE_DIR "${PROJECT_BINARY_DIR}/generated/include")
set(TESSEL_VERSION_HEADER "${TESSEL_GENERATED_INCLUDE_DIR}/tessel/TesselVersion.h")
configure_file("${CMAKE_CURRENT_LIST_DIR}/TesselVersion.h.in" "${TESSEL_VERSION_HEADER}" @ONLY)

if(WIN32)
  enable_language(RC)
endif()

function(tessel_set_library_version target description)
  set_target_properties(${target} PROPERTIES
    VERSION "${PROJECT_VERSION}"
    SOVERSION "${PROJECT_VERSION_MAJOR}"
    TESSEL_DESCRIPTION "${description}")
  if(NOT WIN32)
    return()
  endif()
  get_target_property(TESSEL_RC_NAME ${target} OUTPUT_NAME)
  set(TESSEL_RC_FILE_NAME "${TESSEL_RC_NAME}${CMAKE_SHARED_LIBRARY_SUFFIX}")
  set(TESSEL_RC_DESCRIPTION "${description}")
  set(resource "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/TesselVersion.rc.in" "${resource}" @ONLY)
  target_sources(${target} PRIVATE "${resource}")
endfunction()
