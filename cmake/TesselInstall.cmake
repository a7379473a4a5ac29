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
