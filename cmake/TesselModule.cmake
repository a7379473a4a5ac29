# tessel_add_module(<Name> DESCRIPTION <text> EXPORTS <file> SOURCES <src>...
#                   HEADERS <header>...)
#
# Builds one feature module as a shared library: its own copy of the module
# runtime is linked in, the base library is linked through the import table,
# and only the names listed in the exports file leave the library.
#
# The target is tessel_<name> (lower case), its file <Name> (libVendra.so,
# Vendra.dll), and Tessel::<Name> is its alias: the name games link against,
# in the build tree as in the installed package.
#
# HEADERS are the module's public headers, below the folder's include/: the
# target's HEADERS file set, put on the include path of what links it and
# installed with the package.
#
# DESCRIPTION names the module in its version resource (Windows) and its
# pkg-config file; the library carries the SDK's version (TesselVersion).
#
# Every module's target is recorded in the global property TESSEL_MODULES.
#
# The exports file holds one entry per line: a plain symbol name, or
# "class <qualified name>" for an exported value class (all its members).
function(tessel_add_module module)
  cmake_parse_arguments(ARG "" "EXPORTS;DESCRIPTION" "SOURCES;HEADERS" ${ARGN})
  string(TOLOWER "${module}" lower)
  string(TOUPPER "${module}" upper)
  set(name tessel_${lower})
  add_library(${name} SHARED ${ARG_SOURCES})
  add_library(Tessel::${module} ALIAS ${name})
  target_sources(${name} PUBLIC
    FILE_SET HEADERS BASE_DIRS "${CMAKE_CURRENT_SOURCE_DIR}/include" FILES ${ARG_HEADERS})
  target_compile_definitions(${name} PRIVATE TESSEL_BUILDING_${upper}=1)
  target_link_libraries(${name} PRIVATE tessel_runtime PUBLIC Tessel::Plinth)
  tessel_use_warnings(${name})
  set_target_properties(${name} PROPERTIES PREFIX "lib" OUTPUT_NAME "${module}" EXPORT_NAME "${module}")
  tessel_set_library_version(${name} "${ARG_DESCRIPTION}")
  if(NOT WIN32)
    # Installed, each module finds the platform's library beside it.
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
  if(WIN32)
    # Ludex.dll with its import library libLudex.dll.a. Only what carries
    # the export macro leaves a DLL, so no linker script is needed there.
    set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  endif()

  if(NOT WIN32 AND ARG_EXPORTS)
    # With hidden visibility, template code from the standard library can
    # still leave the library with default visibility; a version script pins
    # the dynamic symbol table to exactly the listed names.
    file(STRINGS "${ARG_EXPORTS}" entries)
    set(plain "")
    set(classes "")
    foreach(entry IN LISTS entries)
      string(STRIP "${entry}" entry)
      if(entry STREQUAL "" OR entry MATCHES "^#")
        continue()
      elseif(entry MATCHES "^class (.+)$")
        string(APPEND classes "      ${CMAKE_MATCH_1}::*;\n")
      else()
        string(APPEND plain "    ${entry};\n")
      endif()
    endforeach()
    set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}.map")
    set(body "{\n  global:\n${plain}")
    if(NOT classes STREQUAL "")
      string(APPEND body "    extern \"C++\" {\n${classes}    };\n")
    endif()
    string(APPEND body "  local: *;\n};\n")
    file(WRITE "${script}" "${body}")
    target_link_options(${name} PRIVATE "LINKER:--version-script=${script}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${script}")
  endif()
  set_property(TARGET ${name} PROPERTY TESSEL_EXPORTS_FILE "${ARG_EXPORTS}")
  set_property(GLOBAL APPEND PROPERTY TESSEL_MODULES ${name})
endfunction()
