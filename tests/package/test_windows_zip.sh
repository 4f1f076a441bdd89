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
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$scratch/display" > /dev/null 2>&1 &
xvfb=$!
until [ -s "$scratch/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$scratch/display")"
wineboot -i > /dev/null 2>&1
(cd "$dir" && exec wine pawfolio.exe) > "$scratch/log" 2>&1 &
window() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || true
  [ -n "$id" ] || { cat "$scratch/log" >&2; fail "no window \"$1\""; }
  echo "$id"
}
main=$(window " ")
xdotool windowfocus --sync "$main" key alt+d
dogs=$(window Doggies)
xdotool windowfocus --sync "$dogs" key alt+a
xdotool type --delay 50 Wino
xdotool key alt+a
for _ in $(seq 100); do [ -s "$dir/doggies.dat" ] && break; sleep 0.1; done
! grep "err:module" "$scratch/log" || fail "a library is missing"
expected=$(printf '\001\000\000\000Wino%431s' '' | od -An -tx1)
[ "$(od -An -tx1 < "$dir/doggies.dat")" = "$expected" ] || fail "doggies.dat is not the dog's 439 bytes"
echo "1 passed, 0 failed"
