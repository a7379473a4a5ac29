#!/bin/sh
# pack.sh <out-dir> <linux-bin> [<windows-bin>]
# Stages the npm package with its prebuilt addons and their native libraries
# (prebuilds/linux-x64/ from a Linux build's bin folder, prebuilds/win32-x64/
# from a MinGW build's) and packs it with npm into <out-dir>; prints the
# tarball's path.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1
linux=$2
windows=${3:-}
stage="$out/stage"
rm -rf "$stage"
mkdir -p "$stage/prebuilds/linux-x64"
cp "$here/package.json" "$here/index.js" "$here/index.d.ts" "$here/sandbox.js" "$here/sandbox.d.ts" "$here/README.md" "$stage/"
cp -r "$here/lib" "$stage/lib"
cp "$here/../../LICENSE" "$stage/"
cp "$linux"/tessel_pcsdk.node "$linux"/tessel_sandbox.node "$stage/prebuilds/linux-x64/"
for library in Plinth Vendra Panora Scrivo Ludex; do
  cp -L "$linux/lib$library.so.1" "$stage/prebuilds/linux-x64/"
done
if [ -n "$windows" ]; then
  mkdir -p "$stage/prebuilds/win32-x64"
  cp "$windows"/tessel_pcsdk.node "$windows"/tessel_sandbox.node "$stage/prebuilds/win32-x64/"
  for library in Plinth Vendra Panora Scrivo Ludex; do
    cp "$windows/$library.dll" "$stage/prebuilds/win32-x64/"
  done
fi
(cd "$stage" && npm pack --silent --pack-destination "$out" >/dev/null)
ls "$out"/tessel-pcsdk-*.tgz
