#!/bin/sh
# wine-run.sh <wine> <prefix> <program> [arguments...]
#
# Runs a Windows program under Wine in the given prefix. The prefix is made
# on first use, once, even when several programs start at the same time.
# Wine's own diagnostics and its desktop integration are switched off.
#
# Programs share one Wine server that stays up for a minute after the last
# one exits. With Wine's default of a few seconds, the tests of a run start
# while the previous server is on its way out, and on a loaded machine such a
# program can fail to connect to it ("a wine server seems to be running, but
# I cannot connect to it").
set -eu
wine=$1
prefix=$2
shift 2
case $prefix in
  /*) ;;
  *) prefix=$PWD/$prefix ;;  # Wine accepts absolute prefixes only
esac

export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No browser or .NET runtime is installed into the prefix, and no menu
# entries or file associations are written to the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export DISPLAY=
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver

if [ ! -f "$prefix/.tessel-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.tessel-ready" ]; then
      "$wine" wineboot --init >/dev/null 2>&1
      # Let the first server write the new prefix out before it is used.
      "$server" -w 2>/dev/null || true
      touch "$prefix/.tessel-ready"
    fi
  ) 9>"$prefix.lock"
fi

# Starts the lingering server, unless one already runs for the prefix (then
# this exits at once). The server must not hold the test's output open.
"$server" -p60 </dev/null >/dev/null 2>&1 || true

exec "$wine" "$@"
