# Install rules and the CMake package TesselPCSDK (GNUInstallDirs layout):
#
#   include/tessel/...                 every public header a game includes
#   lib/ (bin/ on Windows)             the libraries (Windows: DLLs in bin/,
#                                      import libraries in lib/)
#   lib/cmake/TesselPCSDK/             TesselPCSDKConfig.cmake, its version
#                                      file and the imported targets
#
# The imported targets are Tessel::Plinth, Tessel::Sandbox and one
# Tessel::<Module> per module, the names of the build tree's aliases.
# Included by the root CMakeLists after every module has been added.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TESSEL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/TesselPCSDK" CACHE STRING
    "Where the CMake package TesselPCSDK is installed, relative to the prefix")

get_property(tessel_modules GLOBAL PROPERTY TESSEL_MODULES)
set(tessel_installed tessel_plinth tessel_sandbox ${tessel_modules})
# --- C++ layer for any compiler: the header-only component Cpp ---------------
if(TARGET tessel_cpp)
  list(APPEND tessel_installed tessel_cpp)
endif()
# --- end of C++ layer --------------------------------------------------------
set(TESSEL_PACKAGE_COMPONENTS "")
foreach(target IN LISTS tessel_installed)
  get_target_property(component ${target} EXPORT_NAME)
  list(APPEND TESSEL_PACKAGE_COMPONENTS ${component})
endforeach()
list(JOIN TESSEL_PACKAGE_COMPONENTS ", " TESSEL_PACKAGE_COMPONENTS_TEXT)

install(TARGETS ${tessel_installed} EXPORT TesselPCSDKTargets
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  FILE_SET HEADERS DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
  INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(EXPORT TesselPCSDKTargets
  NAMESPACE Tessel::
  FILE TesselPCSDKTargets.cmake
  DESTINATION "${TESSEL_INSTALL_CMAKEDIR}")

configure_package_config_file(
  "${CMAKE_CURRENT_LIST_DIR}/TesselPCSDKConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/package/TesselPCSDKConfig.cmake"
  INSTALL_DESTINATION "${TESSEL_INSTALL_CMAKEDIR}")
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/package/TesselPCSDKConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/package/TesselPCSDKConfig.cmake"
  "${PROJECT_BINARY_DIR}/package/TesselPCSDKConfigVersion.cmake"
  DESTINATION "${TESSEL_INSTALL_CMAKEDIR}")

# pkg-config: tessel-<component>.pc for every component in lib/pkgconfig,
# each module requiring tessel-plinth. Paths are relative to the file's own
# folder (${pcfiledir}), so an unpacked archive works wherever it lies.
set(tessel_pc_dir "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(TESSEL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(TESSEL_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(TESSEL_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH up "/${tessel_pc_dir}" "/")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(TESSEL_PC_PREFIX "\${pcfiledir}/${up}")
  set(TESSEL_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(TESSEL_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
foreach(target IN LISTS tessel_installed)
  get_target_property(component ${target} EXPORT_NAME)
  string(TOLOWER "tessel-${component}" TESSEL_PC_FILE)
  set(TESSEL_PC_NAME "TesselPCSDK ${component}")
  get_target_property(TESSEL_PC_DESCRIPTION ${target} TESSEL_DESCRIPTION)
  set(TESSEL_PC_LIBS "")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    get_target_property(output ${target} OUTPUT_NAME)
    set(TESSEL_PC_LIBS "-L\${libdir} -l${output}")
  endif()
  set(TESSEL_PC_REQUIRES "")
  get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links)
    if(TARGET "${link}")
      get_target_property(link_component "${link}" EXPORT_NAME)
      string(TOLOWER "tessel-${link_component}" link_pc)
      list(APPEND TESSEL_PC_REQUIRES "${link_pc}")
    endif()
  endforeach()
  list(JOIN TESSEL_PC_REQUIRES ", " TESSEL_PC_REQUIRES)
  set(TESSEL_PC_CFLAGS "")
  get_target_property(definitions ${target} INTERFACE_COMPILE_DEFINITIONS)
  foreach(definition IN LISTS definitions)
    if(definition)
      string(APPEND TESSEL_PC_CFLAGS " -D${definition}")
    endif()
  endforeach()
  configure_file("${CMAKE_CURRENT_LIST_DIR}/tessel.pc.in"
                 "${PROJECT_BINARY_DIR}/package/pkgconfig/${TESSEL_PC_FILE}.pc" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/package/pkgconfig/${TESSEL_PC_FILE}.pc" DESTINATION "${tessel_pc_dir}")
endforeach()
