#!/usr/bin/env bash
# Builds the Windows installer TARNEVO-<version>-win64-setup.exe and the release archive
# TARNEVO-<version>-win64.zip from this source tree (a clean clone needs nothing else) and
# prints their paths and sizes. TARNEVO_BUILD selects another build folder (default build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TARNEVO_BUILD:-$root/build/win64}"
bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target release
version=$(sed -n 's/^TARNEVO_FILE_VERSION:STRING=//p' "$build/CMakeCache.txt")
for file in "$build/release/TARNEVO-$version-win64-setup.exe" "$build/release/TARNEVO-$version-win64.zip"; do
  printf '%s  %s bytes (%s)\n' "$file" "$(stat -c %s "$file")" "$(du -h "$file" | cut -f1)"
done
