#!/usr/bin/env bash
# Runs a command with its own Xvfb display (a free display number), stopped afterwards.
set -euo pipefail
command -v Xvfb >/dev/null || bash "$(dirname "$0")/../../tools/install-deps.sh"
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 200); do [ -s "$number" ] && break; sleep 0.05; done
[ -s "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$number")" "$@"
