#!/bin/sh
# run-node.sh [<emulator>...] <node> <arguments...>
# Runs Node with its output in a file that is printed afterwards: the
# Windows Node under Wine fails to write to a pipe, and ctest reads a pipe.
set -u
out=$(mktemp)
"$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
