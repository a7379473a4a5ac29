# cmake -DLIBRARIES=<dll>|... -DWINDRES=<windres> -DVERSION=<x.y.z> -DPRODUCT=<name>
#       -P check_version_resource.cmake
#
# Reads each DLL's resources back with windres and checks its VERSIONINFO:
# file and product version (binary and text) VERSION, the product name, a
# file description, and the DLL's own file name as OriginalFilename.
string(REPLACE "|" ";" libraries "${LIBRARIES}")
string(REPLACE "." ", " binary_version "${VERSION}.0")  # as windres writes it: 1, 0, 0, 0
set(problems "")
foreach(library IN LISTS libraries)
  get_filename_component(file_name "${library}" NAME)
  execute_process(COMMAND "${WINDRES}" -J coff -O rc -i "${library}"
    OUTPUT_VARIABLE rc_text ERROR_VARIABLE rc_error RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND problems "${file_name}: ${WINDRES} cannot read its resources: ${rc_error}\n")
    continue()
  endif()
  set(expected
    "FILEVERSION ${binary_version}"
    "PRODUCTVERSION ${binary_version}"
    "VALUE \"FileVersion\", \"${VERSION}\""
    "VALUE \"ProductVersion\", \"${VERSION}\""
    "VALUE \"ProductName\", \"${PRODUCT}\""
    "VALUE \"OriginalFilename\", \"${file_name}\"")
  foreach(line IN LISTS expected)
    string(FIND "${rc_text}" "${line}" at)
    if(at EQUAL -1)
      string(APPEND problems "${file_name}: no ${line} in its version resource\n")
    endif()
  endforeach()
  if(NOT rc_text MATCHES "VALUE \"FileDescription\", \"[^\"]+\"")
    string(APPEND problems "${file_name}: no FileDescription\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
message(STATUS "version resources as expected: ${libraries}")
