#!/usr/bin/env bash
# Checks the Windows zip: it holds the program, the libraries and plugins it
# loads, the pictures, the font and a README; unpacked and started under wine
# on a virtual screen, it loads with no library missing, and the dog it is
# given lands beside the program, byte for byte as the Linux build writes it.
set -euo pipefail
zip=$(realpath "$1")
scratch=$(mktemp -d)
xvfb=''
export WINEPREFIX=$scratch/prefix WINEDEBUG=err+module
trap 'wineserver -k 2> /dev/null || true; kill $xvfb 2> /dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unzip -q "$zip" -d "$scratch"
dir=$(echo "$scratch"/pawfolio-*-windows-x64)
for f in pawfolio.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll Qt6Network.dll libstdc++-6.dll \
  libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qgif.dll \
  imageformats/qjpeg.dll fonts/ComicNeue-Regular.otf fonts/ComicNeue-Bold.otf README.txt doggie.gif; do
  [ -f "$dir/$f" ] || fail "the zip lacks $f"
done
source "$(dirname "$0")/wine-dog.sh"
wine_display
(cd "$dir" && exec wine pawfolio.exe) > "$scratch/log" 2>&1 &
add_wino "$dir"
echo "1 passed, 0 failed"
