#!/usr/bin/env bash
# Builds everything and runs every test: the engine natively, then the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
jobs=$(nproc)

echo "== Native build (engine core, tests)"
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNEVO_WERROR=ON >/dev/null
cmake --build "$root/build/native" -j "$jobs"
(cd "$root/build/native" && ctest --output-on-failure --timeout 300 -j "$jobs")

echo "== Windows build (mingw-w64), tests under Wine"
cmake -S "$root" -B "$root/build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DTARNEVO_WERROR=ON >/dev/null
cmake --build "$root/build/win64" -j "$jobs"
bash "$root/tools/run-ctest.sh" "$root/build/win64"
