#!/bin/sh
# tarball.sh <work-dir> <linux-bin> <game.js> [<windows-bin> <wine-run> <wine> <wine-prefix> <node.exe>]
# The package as npm packs it, installed offline into a fresh folder with
# no compiler and no build tree in sight, runs the sample game; given a
# Windows build and Wine, the same installed folder runs it again with the
# Windows Node, which loads the win32-x64 addon.
set -eu
work=$1
rm -rf "$work"
mkdir -p "$work/game"
tarball=$("$(dirname "$0")/../pack.sh" "$work" "$2" "${4:-}")
echo "packed $tarball ($(wc -c <"$tarball") bytes)"
tar -tzf "$tarball" | sort
cd "$work/game"
echo '{ "name": "a-game", "version": "1.0.0", "private": true }' > package.json
npm install --offline --no-audit --no-fund --silent "$tarball"
cp "$3" game.js
unset TESSEL_PCSDK_ADDON_DIR
env PATH=/usr/bin:/bin CC=/nonexistent CXX=/nonexistent node game.js
if [ $# -ge 8 ]; then
  # Wine's Node writes to a file, not a pipe.
  NODE_SKIP_PLATFORM_CHECK=1 "$5" "$6" "$7" "$8" game.js >wine-game.log 2>&1 || { cat wine-game.log; exit 1; }
  cat wine-game.log
fi
