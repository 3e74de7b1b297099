#!/usr/bin/env bash
# Runs CTest of a Windows build inside the build's own Wine prefix, with the server started first.
set -euo pipefail
build=$(cd "$1" && pwd); shift || true
source "$(dirname "$0")/wine-prefix.sh"
wine_start "$build/wineprefix"
trap wine_stop EXIT
wine_install_engine "$build/REFPROP"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
