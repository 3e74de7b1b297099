#!/usr/bin/env bash
# tarnevo under Wine: runs the command-line host <build>/bin/tarnevo.exe in the build's Wine
# prefix, preparing the prefix on the way when needed: creates it, installs the bundled engine
# as C:\Program Files\REFPROP, registers TARNEVO64.dll for the user (mirrored to HKLM, which
# Wine needs for activation) and starts a Wine server that lingers a minute after the last
# command. The exit code is the program's.
#   tools/tarnevo.sh packages
#   tools/tarnevo.sh props NaturalGas --phase Vapor --T 300 --P 5e6 --x 0.85,0.06,0.03,0.04,0.02
# TARNEVO_BUILD selects another build folder (default build/win64), TARNEVO_WINEPREFIX another
# prefix (default <build>/wineprefix).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TARNEVO_BUILD:-$root/build/win64}
exe="$build/bin/tarnevo.exe"
dll="$build/bin/TARNEVO64.dll"
if [ ! -f "$exe" ] || [ ! -f "$dll" ]; then
  echo "tarnevo: $exe or $dll is missing; build them first (bash tools/run.sh)" >&2
  exit 1
fi
source "$root/tools/wine-prefix.sh"
export WINEPREFIX=${TARNEVO_WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

# A server of this prefix (a running one stays; this one exits 60 s after its last client),
# then Wine's services, both detached from our output so a pipe reader is not kept waiting.
"$WINESERVER" -p60 </dev/null >/dev/null 2>&1 &
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
else
  "$WINE" wineboot </dev/null >/dev/null 2>&1
fi

# The engine and the registration, renewed when the build is newer than what the prefix has.
engine="$WINEPREFIX/drive_c/Program Files/REFPROP"
if [ -d "$build/REFPROP" ] && { [ ! -f "$engine/refprop.dll" ] || [ "$build/REFPROP/refprop.dll" -nt "$engine/refprop.dll" ]; }; then
  wine_install_engine "$build/REFPROP"
fi
stamp="$WINEPREFIX/tarnevo-registration"
if [ ! -f "$stamp" ] || [ "$dll" -nt "$stamp" ] || [ "$(cat "$stamp")" != "$dll" ]; then
  if ! "$WINE" regsvr32 /s "$(wine_path "$dll")" </dev/null >/dev/null 2>&1; then
    echo "tarnevo: regsvr32 could not register $dll" >&2
    exit 1
  fi
  wine_mirror_user_classes
  printf '%s' "$dll" >"$stamp"
fi

exec "$WINE" "$exe" "$@"
