#!/usr/bin/env bash
# Pictures of the dialogs for docs/ and the help file: the dialog tests (under Xvfb, in a
# Wine virtual desktop where Wine draws the title bars) name each dialog and its place on
# stdout; this takes the picture of that part of the screen.
#   bash tools/dialog-screenshots.sh [build folder]     (default build/win64, already built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
source "$root/tools/wine-prefix.sh"
wine_start "$build/wineprefix"
shots=$(mktemp -d)
trap 'wine_stop; rm -rf "$shots"' EXIT
wine_install_engine "$build/REFPROP"
mkdir -p "$root/docs"
export shots docs="$root/docs"
TARNEVO_SHOTS=$(wine_path "$shots") bash "$root/tests/dialogs/with-xvfb.sh" bash -c '
  "$0" explorer /desktop=shots,1024x768 "$1" --gtest_filter="DialogsTest.*" | while read -r word name geometry; do
    [ "$word" = shot ] || continue
    import -window root -crop "$geometry" +repage "$docs/$name.png"
    touch "$shots/$name.png"
    echo "docs/$name.png"
  done' "$WINE" "$(wine_path "$build/tests/dialogs/dialogs_test.exe")"
