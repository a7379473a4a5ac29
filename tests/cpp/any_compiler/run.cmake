# Builds and runs the any-compiler game (this folder's CMakeLists) with
# clang++ and libc++ against the installed SDK; skipped, with the reason,
# where clang++ or libc++ is missing.
#   -DCLANGXX=<clang++ or empty> -DPREFIX=<installed SDK> -DSOURCE=<this folder>
#   -DBINARY=<build folder> -DGAME_SOURCE=<game.cpp> -DGENERATOR=<generator>
#   -DSKIP_REASON=<why not here, or empty>
if(SKIP_REASON)
  message(STATUS "SKIPPED: ${SKIP_REASON}")
  return()
endif()
if(NOT CLANGXX)
  message(STATUS "SKIPPED: clang++ not found")
  return()
endif()
file(MAKE_DIRECTORY "${BINARY}")
file(WRITE "${BINARY}/probe.cpp" "#include <string>\nint main() { return std::string(\"x\").size() == 1 ? 0 : 1; }\n")
execute_process(COMMAND "${CLANGXX}" -stdlib=libc++ "${BINARY}/probe.cpp" -o "${BINARY}/probe"
                RESULT_VARIABLE probe OUTPUT_QUIET ERROR_QUIET)
if(NOT probe EQUAL 0)
  message(STATUS "SKIPPED: clang++ cannot build with libc++ (install libc++-dev and libc++abi-dev)")
  return()
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${BINARY}/game" -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_CXX_COMPILER=${CLANGXX}" -DCMAKE_CXX_FLAGS=-stdlib=libc++ -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++
    "-DCMAKE_PREFIX_PATH=${PREFIX}" "-DGAME_SOURCE=${GAME_SOURCE}" -DREQUIRE_LIBCXX=ON
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BINARY}/game" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${BINARY}/game" --output-on-failure --no-tests=error
                COMMAND_ERROR_IS_FATAL ANY)
