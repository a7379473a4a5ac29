#!/usr/bin/env bash
# The standalone game (examples/standalone) built against the SDK the way a
# game team builds it: a Release build of the SDK installed to a temporary
# prefix, the games configured with CMAKE_PREFIX_PATH at that prefix, built
# in Release and run by ctest; with g++, with clang and with MinGW (games
# under Wine). Each consumer's ctest also compiles every installed header
# alone with -Wall -Wextra -Wpedantic -Werror and checks that asking for
# version 2.0 fails at configure time. Last, the SDK
# as the game's subproject (add_subdirectory), cross-built with MinGW: it
# forces no output folder, builds no tests, and the games run under Wine.
#
# Reuses what .ci/run made before: the prefixes build/install-release (g++,
# from build/bench) and build/install-windows-release (MinGW, from
# build/windows-release) of the package block, and the clang Release build
# build/clang-release, installed here to build/install-clang-release. Run
# alone, it builds and installs what is missing (the libraries only).
set -euo pipefail
cd "$(dirname "$0")/.."

libraries=(tessel_plinth tessel_ludex tessel_scrivo tessel_vendra tessel_panora)
toolchain=$PWD/cmake/toolchains/x86_64-w64-mingw32.cmake
clangc=$(command -v clang || command -v clang-14)
clangxx=$(command -v clang++ || command -v clang++-14)

# sdk <prefix> <build dir> <configure arguments...>: the SDK installed in
# <prefix>, or else the libraries of its Release build (configured first if
# the folder is new) installed there.
sdk() {
  local prefix=$1 dir=$2
  shift 2
  [ -f "$prefix/lib/cmake/TesselPCSDK/TesselPCSDKConfig.cmake" ] && return
  [ -f "$dir/CMakeCache.txt" ] || cmake "$@"
  grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$dir/CMakeCache.txt" || { echo "$dir is not a Release build" >&2; exit 1; }
  cmake --build "$dir" --target "${libraries[@]}"
  cmake --install "$dir" --prefix "$prefix" >/dev/null
}

# game <name> <configure arguments...>: the standalone project configured,
# built and run by ctest in build/consumer-<name>.
game() {
  local name=$1 dir=build/consumer-$1
  shift
  rm -rf "$dir"
  cmake -S examples/standalone -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir"
  # The games under Wine use the prefix the windows workflow made.
  if [[ $name == mingw* && -f build/windows/wineprefix/.tessel-ready ]]; then
    ln -s "$PWD/build/windows/wineprefix" "$dir/wineprefix"
  fi
  ctest --test-dir "$dir" --output-on-failure --no-tests=error
}

gcc_build=build/bench
[ -f $gcc_build/CMakeCache.txt ] || gcc_build=build/release
sdk build/install-release $gcc_build --preset release
sdk build/install-clang-release build/clang-release -S . -B build/clang-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTESSEL_WARNINGS_AS_ERRORS=ON -DCMAKE_C_COMPILER="$clangc" -DCMAKE_CXX_COMPILER="$clangxx"
sdk build/install-windows-release build/windows-release --preset windows-release

strict=-DCMAKE_COMPILE_WARNING_AS_ERROR=ON  # the games' own warnings (not the SDK's)
game gcc $strict -DCMAKE_PREFIX_PATH="$PWD/build/install-release" -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
game clang $strict -DCMAKE_PREFIX_PATH="$PWD/build/install-clang-release" -DCMAKE_C_COMPILER="$clangc" -DCMAKE_CXX_COMPILER="$clangxx"
game mingw $strict -DCMAKE_PREFIX_PATH="$PWD/build/install-windows-release" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
game mingw-subproject -DTESSEL_SDK_SOURCE_DIR="$PWD" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
