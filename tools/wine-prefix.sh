#!/usr/bin/env bash
# Sourced by the scripts: a private 64-bit Wine prefix and its server.
#   wine_start PREFIX   create the prefix if needed, start its server detached from any pipe
#   wine_stop           stop that server
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_start() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 &
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  else
    "$WINE" wineboot </dev/null >/dev/null 2>&1
  fi
}

wine_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
}

# Copies the bundled engine's REFPROP folder into the prefix's program-files folder.
wine_install_engine() {
  local from="$1" to="$WINEPREFIX/drive_c/Program Files/REFPROP"
  [ -d "$from" ] || return 0
  mkdir -p "$to"
  cp -r "$from"/. "$to"/
}

# Wine activates only classes registered machine-wide: copies the per-user class
# registrations (HKCU\Software\Classes) to HKLM\Software\Classes for activation by
# CLSID or ProgID. Windows needs no such step.
wine_mirror_user_classes() {
  "$WINE" reg copy 'HKCU\Software\Classes' 'HKLM\Software\Classes' /s /f </dev/null >/dev/null 2>&1
}

# The Windows form (Z:\...) of a Unix path inside the prefix's view of the file system.
wine_path() {
  local p="$1"
  printf 'Z:%s' "${p//\//\\}"
}
