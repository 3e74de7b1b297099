#!/usr/bin/env bash
# Runs a dialog test program under its own Xvfb display, in a Wine virtual desktop of its
# own: the prefix's default desktop may run without a display, and a virtual desktop draws
# title bars and needs no window manager. explorer.exe does not pass the program's exit
# code on, so the result is read from its XML report.
#   run-dialog-test.sh WINE PROGRAM [ARGUMENTS]
set -euo pipefail
wine=$1 program=$2
shift 2
report=$(mktemp --suffix=.xml)
trap 'rm -f "$report"' EXIT
windows() { printf 'Z:%s' "${1//\//\\}"; }
bash "$(dirname "$0")/with-xvfb.sh" "$wine" explorer "/desktop=tarnevo-$$,1024x768" "$(windows "$program")" \
  "--gtest_output=xml:$(windows "$report")" "$@"
grep -q '<testsuites tests="[1-9][0-9]*" failures="0" disabled="[0-9]*" errors="0"' "$report"
