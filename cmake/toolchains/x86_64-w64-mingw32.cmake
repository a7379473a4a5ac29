# Cross-build for 64-bit Windows with the MinGW-w64 compilers (posix thread
# model), running the built programs under Wine.
#
#   cmake --preset windows
#
# The C++ runtime, libgcc and winpthread are linked statically, so the DLLs
# and the test programs need no MinGW runtime DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSEL_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TESSEL_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TESSEL_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TESSEL_MINGW_TRIPLE}-windres)
# The demangler of the export-table check.
find_program(TESSEL_CXXFILT NAMES ${TESSEL_MINGW_TRIPLE}-c++filt)

# Windows packages installed elsewhere (the SDK's own install prefix, for a
# game built against it) are found through the prefixes given on the command
# line as CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSEL_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
# Header-only libraries (EnTT) serve every target: their headers may come
# from the build machine. Libraries and packages must be the target's.
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static before the system libraries makes the linker take libstdc++,
# libgcc and libwinpthread from their archives; the project's own DLLs are
# still linked through their import libraries, which are named explicitly.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

# Programs run under 64-bit Wine, in a private prefix inside the build
# directory (created by the first run), with Wine's own messages off.
find_program(TESSEL_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine)
if(TESSEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${TESSEL_WINE};${CMAKE_BINARY_DIR}/wineprefix")
else()
  message(STATUS "Wine not found: the Windows programs are built but the tests cannot run here")
endif()
