#!/usr/bin/env bash
# The installer in a fresh Wine prefix: silent install, registration, tarnevo on the bundled engine
# through the installed files, a second install over the first, an update refused while a
# program holds the server, silent uninstall and what it leaves behind.
#   bash installer_test.sh SETUP.exe WORKDIR TARNEVO.exe
set -uo pipefail
start=$(date +%s)
setup=$1 work=$2 host=$3
source "$(dirname "$0")/../../tools/wine-prefix.sh"
rm -rf "$work" && mkdir -p "$work"
wine_start "$work/prefix"
trap wine_stop EXIT
echo "installer: $setup ($(stat -c %s "$setup") bytes)"

failures=0
fail() { failures=$((failures + 1)); echo "FAIL: $*"; }
query() { "$WINE" reg query "$@" </dev/null 2>/dev/null | tr -d '\r'; }
has_key() { "$WINE" reg query "$1" </dev/null >/dev/null 2>&1; }
install() { "$WINE" "$(wine_path "$setup")" /S </dev/null >/dev/null 2>&1; }
tarnevo() { "$WINE" "$inst/tarnevo.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }

# A new prefix's profile folders can appear only after wineboot has finished in the background.
for attempt in $(seq 60); do
  user=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData 2>/dev/null | head -1)
  [ -n "$user" ] && break
  [ "$attempt" = 20 ] && "$WINE" wineboot -u </dev/null >/dev/null 2>&1
  sleep 1
done
[ -n "$user" ] || { echo "FAIL: the Wine prefix has no user profile"; exit 1; }
inst="$user/Local/Programs/TARNEVO"
menu="$user/Roaming/Microsoft/Windows/Start Menu/Programs/TARNEVO"
conf="$user/Roaming/Tarnevo/TARNEVO.conf"
package="$user/Roaming/Tarnevo/PropertyPackages/InstGas.rpp"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TARNEVO'
classes='HKCU\Software\Classes'

install || fail "install: exit code $?"
instdir=$(query "$uninstall_key" /v InstallLocation | sed -n 's/.*REG_SZ *//p')
[ "$instdir" = "C:\\users\\$(basename "$(dirname "$user")")\\AppData\\Local\\Programs\\TARNEVO" ] ||
  fail "install location '$instdir'"
clsids=()
for progid in TARNEVO.PropertyPackageManager TARNEVO.ThermoSystem; do
  clsid=$(query "$classes\\$progid\\CLSID" /ve | grep -o '{[0-9A-Fa-f-]*}')
  clsids+=("$clsid")
  server=$(query "$classes\\CLSID\\$clsid\\InprocServer32" /ve | sed -n 's/.*REG_SZ *//p')
  [ "$server" = "$instdir\\TARNEVO64.dll" ] || fail "$progid: server '$server'"
done
for link in "TARNEVO Package Manager" "TARNEVO Command Prompt"; do
  [ -f "$menu/$link.lnk" ] || fail "no Start-menu entry $link"
done
printf 'REFPROP_FOLDER=%s\\Engine\r\n' "$instdir" | cmp -s - "$conf" || fail "TARNEVO.conf: $(cat -A "$conf")"

# The server on the bundled engine, found through TARNEVO.conf only.
[ ! -e "$WINEPREFIX/drive_c/Program Files/REFPROP" ] || fail "the prefix has a REFPROP folder"
wine_mirror_user_classes
tarnevo new InstGas --fluids METHANE,ETHANE >/dev/null
tarnevo packages --csv | grep -qx InstGas || fail "tarnevo packages does not list InstGas"
density=$(tarnevo props InstGas --phase Vapor --T 300 --P 1e6 --x 0.9,0.1 --props density --csv |
          awk -F, '$1 == "density" { print $4 }')
awk -v d="$density" 'BEGIN { exit !(d > 403 && d < 420) }' || fail "density '$density' mol/m3"

# Upgrade in place over a package written in between and a REFPROP folder of the user's own.
cp -r "$inst/Engine" "$WINEPREFIX/drive_c/MyREFPROP"
printf 'REFPROP_FOLDER=C:\\MyREFPROP\r\n' >"$conf"
cp "$conf" "$work/conf" && cp "$package" "$work/package"
install || fail "second install: exit code $?"
cmp -s "$conf" "$work/conf" || fail "the second install changed TARNEVO.conf"
cmp -s "$package" "$work/package" || fail "the second install changed the package"

# A program that holds the server (the build's tarnevo, through the registration): the update
# stops with exit code 2 before writing anything.
"$WINE" "$host" bench InstGas --z 0.9,0.1 --seconds 60 </dev/null >/dev/null 2>&1 &
holder=$!
for _ in $(seq 300); do compgen -G "$user/../Temp/REFPROP_*" >/dev/null && break; sleep 0.1; done
rm "$inst/INSTALL.txt"
install
rc=$?
[ "$rc" -eq 2 ] || fail "install while in use: exit code $rc"
[ ! -e "$inst/INSTALL.txt" ] || fail "the install went on while TARNEVO64.dll was in use"
kill "$holder" && wait "$holder"

"$WINE" "$inst/uninstall.exe" /S </dev/null >/dev/null 2>&1
for _ in $(seq 300); do [ -e "$inst" ] || break; sleep 0.1; done
[ ! -e "$inst" ] || fail "left after uninstall: $(find "$inst")"
[ ! -e "$menu" ] || fail "the Start-menu folder is left"
has_key "$uninstall_key" && fail "the uninstall entry is left"
for key in "${clsids[@]}" TARNEVO.PropertyPackageManager{,.1} TARNEVO.ThermoSystem{,.1}; do
  [[ $key == {* ]] && key="CLSID\\$key"
  has_key "$classes\\$key" && fail "registry key left: $key"
done
cmp -s "$conf" "$work/conf" || fail "uninstall changed TARNEVO.conf"
cmp -s "$package" "$work/package" || fail "uninstall removed the package"
[ -f "$WINEPREFIX/drive_c/MyREFPROP/refprop.dll" ] || fail "uninstall touched the REFPROP folder"

echo "installer test: $(($(date +%s) - start)) s, $failures failure(s)"
[ "$failures" -eq 0 ]
