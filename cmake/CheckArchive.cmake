# Checks the SDK archive CPack made:
#
#   cmake -DARCHIVE=<TesselPCSDK-<version>-<system>.tar.gz or .zip> -P CheckArchive.cmake
#
# Below its one top folder: the public headers (the generated version header
# among them, no internal one), the five libraries (a .zip: DLLs in bin/,
# import libraries in lib/; a .tar.gz: lib<Name>.so.<major>), the CMake
# package, the pkg-config files, the README, the LICENSE and the samples'
# sources (the standalone game's too when the source tree has it).
cmake_policy(VERSION 3.25)
if(NOT DEFINED ARCHIVE OR NOT EXISTS "${ARCHIVE}")
  message(FATAL_ERROR "CheckArchive: ARCHIVE is not set or missing")
endif()
get_filename_component(name "${ARCHIVE}" NAME)
if(NOT name MATCHES "^(TesselPCSDK-([0-9]+)\\.[0-9]+\\.[0-9]+-[A-Za-z]+)\\.(tar\\.gz|zip)$")
  message(FATAL_ERROR "CheckArchive: ${name} is not named TesselPCSDK-<version>-<system>.tar.gz|zip")
endif()
set(top "${CMAKE_MATCH_1}")
set(major "${CMAKE_MATCH_2}")
set(kind "${CMAKE_MATCH_3}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar tf "${ARCHIVE}" OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "CheckArchive: cannot list ${ARCHIVE}")
endif()
string(REPLACE "\n" ";" entries "${listing}")

set(expected
  include/tessel/TesselVersion.h include/tessel/base/TesselBase.h include/tessel/sandbox/TesselSandbox.h
  lib/cmake/TesselPCSDK/TesselPCSDKConfig.cmake lib/cmake/TesselPCSDK/TesselPCSDKConfigVersion.cmake
  lib/cmake/TesselPCSDK/TesselPCSDKTargets.cmake
  share/doc/TesselPCSDK/README.md share/doc/TesselPCSDK/LICENSE share/doc/TesselPCSDK/examples/main.cpp)
foreach(library Plinth Ludex Scrivo Vendra Panora)
  string(TOLOWER "${library}" lower)
  list(APPEND expected "lib/pkgconfig/tessel-${lower}.pc")
  if(kind STREQUAL "zip")
    list(APPEND expected "bin/${library}.dll" "lib/lib${library}.dll.a")
  else()
    list(APPEND expected "lib/lib${library}.so.${major}")
  endif()
endforeach()
foreach(module ludex scrivo vendra panora)
  list(APPEND expected "include/tessel/${module}")
endforeach()
# -DNODE_PACKAGE=<file name>: the npm package of the Node binding is carried too.
if(DEFINED NODE_PACKAGE)
  list(APPEND expected "share/TesselPCSDK/node/${NODE_PACKAGE}")
endif()
if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/../examples/standalone/CMakeLists.txt")
  list(APPEND expected share/doc/TesselPCSDK/examples/standalone/CMakeLists.txt)
endif()

set(problems "")
list(FILTER entries INCLUDE REGEX ".")
foreach(path IN LISTS expected)
  set(found OFF)
  foreach(entry IN LISTS entries)
    string(FIND "${entry}" "${top}/${path}" at)
    if(at EQUAL 0)
      set(found ON)
      break()
    endif()
  endforeach()
  if(NOT found)
    string(APPEND problems "  missing ${top}/${path}\n")
  endif()
endforeach()
foreach(internal Internal.hpp Objects.hpp Sandbox.hpp Dispatch.hpp)
  if(listing MATCHES "/include/[^\n]*/${internal}")
    string(APPEND problems "  holds the internal header ${internal}\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${name}:\n${problems}")
endif()
file(SIZE "${ARCHIVE}" size)
list(LENGTH entries count)
message(STATUS "${name}: ${count} entries, ${size} bytes, as expected")
