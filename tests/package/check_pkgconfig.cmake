# cmake -DPKG_CONFIG=<pkg-config> -DPC_DIR=<dir> -DLIBDIR=<dir> -DCC=<compiler>
#       [-DCFLAGS=<flags>] [-DLDFLAGS=<flags>] [-DPACKAGES=<a,b>] -DSOURCE=<file>
#       -DOUTPUT=<program> -P check_pkgconfig.cmake
#
# Compiles and links SOURCE with nothing but the flags pkg-config gives for
# PACKAGES (by default every C component's .pc file) in PC_DIR, then runs the
# program.
if(DEFINED PACKAGES)
  string(REPLACE "," ";" packages "${PACKAGES}")
else()
  set(packages tessel-plinth tessel-sandbox tessel-ludex tessel-scrivo tessel-vendra tessel-panora)
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "PKG_CONFIG_PATH=${PC_DIR}" "${PKG_CONFIG}" --cflags --libs ${packages}
  OUTPUT_VARIABLE flags ERROR_VARIABLE error RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config failed: ${error}")
endif()
message(STATUS "pkg-config: ${flags}")
separate_arguments(flags UNIX_COMMAND "${flags}")
separate_arguments(cflags UNIX_COMMAND "${CFLAGS}")
separate_arguments(ldflags UNIX_COMMAND "${LDFLAGS}")
# The linker flags go first: a -fsanitize= among them placed after the
# compiler's -fno-sanitize= would turn back on what the build turned off.
execute_process(COMMAND "${CC}" ${ldflags} ${cflags} "${SOURCE}" -o "${OUTPUT}" ${flags} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building ${SOURCE} with the pkg-config flags failed")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "LD_LIBRARY_PATH=${LIBDIR}" "${OUTPUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} failed: ${rc}")
endif()
