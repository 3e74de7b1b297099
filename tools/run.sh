#!/usr/bin/env bash
# Main job: installs what is needed, builds TARNEVO64.dll, creates a Wine prefix, installs the
# bundled engine as C:\Program Files\REFPROP, registers the server per user with regsvr32 and
# shows its registration. Safe to run again: everything is updated in place.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
bash "$root/tools/install-deps.sh"

echo "== Building TARNEVO64.dll (mingw-w64)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target TARNEVO64
dll="$build/bin/TARNEVO64.dll"

echo "== Wine prefix: $build/wineprefix"
source "$root/tools/wine-prefix.sh"
wine_start "$build/wineprefix"
trap wine_stop EXIT
wine_install_engine "$build/REFPROP"

echo "== Registering $(wine_path "$dll") for the current user"
"$WINE" regsvr32 /s "$(wine_path "$dll")" </dev/null
wine_mirror_user_classes

echo "== Registration (HKEY_CURRENT_USER\\Software\\Classes)"
for progid in TARNEVO.PropertyPackageManager TARNEVO.ThermoSystem; do
  "$WINE" reg query "HKCU\\Software\\Classes\\$progid" /s </dev/null 2>/dev/null | tr -d '\r' | sed '/^$/d'
  clsid=$("$WINE" reg query "HKCU\\Software\\Classes\\$progid\\CLSID" /ve </dev/null 2>/dev/null |
          tr -d '\r' | grep -o '{[0-9A-Fa-f-]*}' | head -1)
  "$WINE" reg query "HKCU\\Software\\Classes\\CLSID\\$clsid" /s </dev/null 2>/dev/null | tr -d '\r' | sed '/^$/d'
done
"$WINE" reg query 'HKCU\Software\Classes\TypeLib' /s </dev/null 2>/dev/null | tr -d '\r' | sed '/^$/d'
echo "== TARNEVO64.dll is registered; CAPE-OPEN simulators of this user can now find it."
