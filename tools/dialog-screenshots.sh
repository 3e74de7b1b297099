#!/usr/bin/env bash
# Pictures of the dialogs for docs/ and the help file: the dialog tests (which run under
# Xvfb in a Wine virtual desktop, where Wine draws the title bars) save each dialog they show.
#   bash tools/dialog-screenshots.sh [build folder]     (default build/win64, already built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
source "$root/tools/wine-prefix.sh"
wine_start "$build/wineprefix"
shots=$(mktemp -d)
trap 'wine_stop; rm -rf "$shots"' EXIT
wine_install_engine "$build/REFPROP"
TARNEVO_SHOTS=$(wine_path "$shots") bash "$root/tests/dialogs/with-xvfb.sh" \
  "$WINE" "$build/tests/dialogs/dialogs_test.exe" --gtest_filter='DialogsTest.*' >/dev/null
mkdir -p "$root/docs"
for picture in "$shots"/*.bmp; do
  convert "$picture" "$root/docs/$(basename "${picture%.bmp}").png"
  echo "docs/$(basename "${picture%.bmp}").png"
done
