#!/usr/bin/env bash
# Installs what building and testing TARNEVO needs on Debian 12 (idempotent).
set -euo pipefail
pkgs=(cmake ninja-build g++ python3
      g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
      libwine-dev wine64 googletest libbenchmark-dev
      xvfb imagemagick x11-utils fp-utils-3.2.2 nsis zip)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
