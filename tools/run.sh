#!/usr/bin/env bash
# Main job: installs what is needed, builds TARNEVO64.dll and the command-line host tarnevo.exe,
# creates a Wine prefix, installs the bundled engine as C:\Program Files\REFPROP, registers the
# server per user with regsvr32 and shows its registration; then creates the sample package
# NaturalGas if it is absent and drives it as a simulator would: packages, show, properties of
# the gas at 300 K and 5 MPa, a T-P flash in the two-phase region and the phase envelope (SVG).
# Safe to run again: everything is updated in place and the package is kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TARNEVO_BUILD:-$root/build/win64}"  # TARNEVO_BUILD: another build folder
bash "$root/tools/install-deps.sh"

echo "== Building TARNEVO64.dll, tarnevo.exe and the bundled engine (mingw-w64)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target TARNEVO64 tarnevo tarnevo_engine_refprp64 tarnevo_engine_refprop
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

# A session with the command-line host, as a process engineer would run it.
export TARNEVO_BUILD="$build"
tarnevo() {
  echo
  echo "\$ tools/tarnevo.sh $*"
  bash "$root/tools/tarnevo.sh" "$@"
}
gas=0.85,0.06,0.03,0.04,0.02
if ! bash "$root/tools/tarnevo.sh" packages --csv | tr -d '\r' | grep -qx NaturalGas; then
  tarnevo new NaturalGas --fluids METHANE,ETHANE,PROPANE,NITROGEN,CO2 --description "Sample natural gas"
fi
tarnevo packages
tarnevo show NaturalGas
tarnevo props NaturalGas --phase Vapor --T 300 --P 5e6 --x $gas
tarnevo flash NaturalGas --z $gas --T 200 --P 3e6
tarnevo envelope NaturalGas --z $gas --out "$(wine_path "$build/NaturalGas-envelope")"
echo
echo "== Phase envelope drawn in $build/NaturalGas-envelope.svg (points in NaturalGas-envelope.csv)"
