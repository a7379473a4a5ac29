# CPack: one archive per platform, TesselPCSDK-<version>-<system>, holding the
# installed tree (headers, libraries, the CMake package and the pkg-config
# files) with the README, the LICENSE and the samples' sources:
#
#   cpack --config <build>/CPackConfig.cmake -B <build>/packages
#
# A .tar.gz from a Linux build, a .zip from the Windows (MinGW) build.
# Included after TesselInstall.
install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
  DESTINATION "${CMAKE_INSTALL_DOCDIR}")
# The sample game, the guide's snippets and, when present, the standalone
# game project built against this package (examples/standalone); the
# sandbox's default profile (the world a game's tests get when they load
# none), its example profiles and their schema.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/"
  DESTINATION "${CMAKE_INSTALL_DOCDIR}/examples"
  PATTERN "build*" EXCLUDE)
install(FILES
  "${PROJECT_SOURCE_DIR}/plinth/profiles/default.json"
  "${PROJECT_SOURCE_DIR}/plinth/profiles/example-declined.json"
  "${PROJECT_SOURCE_DIR}/plinth/profiles/example-shop.json"
  "${PROJECT_SOURCE_DIR}/plinth/profiles/profile.schema.json"
  DESTINATION "${CMAKE_INSTALL_DOCDIR}/profiles")

set(CPACK_PACKAGE_NAME "TesselPCSDK")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${TESSEL_PRODUCT_NAME}: shop, popups, game logs and character information for PC games")
set(CPACK_PACKAGE_FILE_NAME "TesselPCSDK-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_STRIP_FILES OFF)
include(CPack)
