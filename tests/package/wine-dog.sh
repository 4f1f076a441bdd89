# Sourced by the tests of the Windows zip and installer, which set $scratch
# and fail(). wine_display starts a virtual screen and a fresh wine prefix
# on it. add_wino gives the Pawfolio started there (its output in
# $scratch/log) the dog "Wino" with the keyboard, and checks that no library
# was missing and that $1/doggies.dat holds the dog's 439 bytes, as the Linux
# build writes them.
wine_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$scratch/display" > /dev/null 2>&1 &
  xvfb=$!
  until [ -s "$scratch/display" ]; do sleep 0.05; done
  export DISPLAY=":$(head -n 1 "$scratch/display")"
  wineboot -i > /dev/null 2>&1
}
window() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || true
  [ -n "$id" ] || { cat "$scratch/log" >&2; fail "no window \"$1\""; }
  echo "$id"
}
add_wino() {
  xdotool windowfocus --sync "$(window " ")" key alt+d
  xdotool windowfocus --sync "$(window Doggies)" key alt+a
  xdotool type --delay 50 Wino
  xdotool key alt+a
  for _ in $(seq 100); do [ -s "$1/doggies.dat" ] && break; sleep 0.1; done
  ! grep "err:module" "$scratch/log" || fail "a library is missing"
  local expected
  expected=$(printf '\001\000\000\000Wino%431s' '' | od -An -tx1)
  [ "$(od -An -tx1 < "$1/doggies.dat" 2> /dev/null)" = "$expected" ] || fail "$1/doggies.dat is not the dog's 439 bytes"
}
