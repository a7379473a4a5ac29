# GoogleTest for the test programs. Natively the system's build is used; a
# cross-build compiles it from the distribution's sources for the target,
# since no prebuilt library matches the target's compiler and runtime.
set(TESSEL_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources compiled for the target when cross-building")

if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
  return()
endif()

if(NOT EXISTS "${TESSEL_GOOGLETEST_SOURCE_DIR}/googletest/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found in ${TESSEL_GOOGLETEST_SOURCE_DIR} "
                      "(Debian package googletest); set TESSEL_GOOGLETEST_SOURCE_DIR")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF)
add_subdirectory("${TESSEL_GOOGLETEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

# The names the system's package gives its targets.
foreach(lib gtest gtest_main gmock gmock_main)
  if(TARGET ${lib} AND NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
