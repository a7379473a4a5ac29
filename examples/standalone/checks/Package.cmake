# Checks of the installed package, run by ctest with the games.

# Every installed public header compiles by itself, first in its translation
# unit, with a consumer's warnings as errors: C headers as C and as C++, C++
# headers as C++. The include root is the installed one, taken as ordinary
# (not system) include folders so that the warnings are not silenced.
get_target_property(tessel_include_dirs Tessel::Plinth INTERFACE_INCLUDE_DIRECTORIES)
list(FILTER tessel_include_dirs EXCLUDE REGEX "\\$<")  # the header file set's build-tree form
list(GET tessel_include_dirs 0 tessel_include_root)
file(GLOB_RECURSE tessel_headers RELATIVE "${tessel_include_root}"
     "${tessel_include_root}/*.h" "${tessel_include_root}/*.hpp")
if(NOT tessel_headers)
  message(FATAL_ERROR "No headers under the SDK's include folder ${tessel_include_root}")
endif()
if(CMAKE_C_COMPILER_ID MATCHES "GNU|Clang")
  set(units "")
  foreach(header IN LISTS tessel_headers)
    string(MAKE_C_IDENTIFIER "${header}" stem)
    set(languages cpp)
    if(header MATCHES "\\.h$")
      list(APPEND languages c)
    endif()
    foreach(extension IN LISTS languages)
      set(unit "${CMAKE_CURRENT_BINARY_DIR}/header_check/${stem}.${extension}")
      file(CONFIGURE OUTPUT "${unit}" CONTENT "#include \"${header}\"\ntypedef int tessel_header_check;\n")
      list(APPEND units "${unit}")
    endforeach()
  endforeach()
  add_library(header_check OBJECT ${units})
  target_link_libraries(header_check PRIVATE Tessel::Vendra Tessel::Panora Tessel::Scrivo Tessel::Ludex)
  if(TARGET Tessel::Sandbox)
    target_link_libraries(header_check PRIVATE Tessel::Sandbox)
  endif()
  set_target_properties(header_check PROPERTIES NO_SYSTEM_FROM_IMPORTED ON C_EXTENSIONS OFF CXX_EXTENSIONS OFF)
  target_compile_options(header_check PRIVATE -Wall -Wextra -Wpedantic -Werror)
  list(LENGTH tessel_headers count)
  list(LENGTH units unit_count)
  message(STATUS "Header check: ${count} installed headers in ${unit_count} translation units")
endif()

# Asking for an incompatible version fails at configure time, with a message
# naming the package, the version asked for and the version found.
string(REPLACE "." "\\." found_version "${TesselPCSDK_VERSION}")
add_test(NAME package_rejects_version_2
  COMMAND "${CMAKE_COMMAND}" -S "${CMAKE_CURRENT_SOURCE_DIR}/checks/probe" -B "${CMAKE_CURRENT_BINARY_DIR}/probe"
          "-DTesselPCSDK_DIR=${TesselPCSDK_DIR}" -DPROBE_VERSION=2.0)
set_tests_properties(package_rejects_version_2 PROPERTIES PASS_REGULAR_EXPRESSION
  "package \"TesselPCSDK\" that is.*requested version \"2\\.0\".*version: ${found_version}")
