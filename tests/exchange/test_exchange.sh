#!/usr/bin/env bash
# Records made by the Linux build open in the Windows build, and the other
# way round: each build makes a folder of records in the same steps, then
# each changes each folder in the same further steps; the record files must
# come out byte for byte the same. Usage: test_exchange.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
linux=$1/tests/test_windows
windows=$2/tests/test_windows.exe
qtbin=${PAWFOLIO_QT_MINGW:-$HOME/.cache/pawfolio/qt-mingw}/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# run FOLDER linux|windows: records made there, or those in FOLDER/in changed, into FOLDER/out.
run() {
  mkdir -p "$1"
  if [ "$2" = linux ]; then
    PAWFOLIO_EXCHANGE=$1 QT_QPA_PLATFORM=offscreen "$linux" exchange > "$1.log" 2>&1 || failed=1
  else
    PAWFOLIO_EXCHANGE=$1 bash "$here/../../scripts/wine-test.sh" "$work/wineprefix" "$qtbin" "$windows" exchange \
      > "$1.log" 2>&1 || failed=1
  fi
  if [ -n "${failed:-}" ] || ! grep -q "^PASS   : TestWindows::exchange()" "$1.log"; then
    cat "$1.log"
    echo "exchange: the $2 build failed on $1" >&2
    exit 1
  fi
}
same() {
  for f in doggies.dat health.dat journal.dat; do
    cmp "$work/$1/out/$f" "$work/$2/out/$f" || { echo "exchange: $f differs between $1 and $2" >&2; exit 1; }
  done
}
run "$work/linux" linux
run "$work/windows" windows
same linux windows
for maker in linux windows; do
  for changer in linux windows; do
    mkdir -p "$work/$maker-$changer"
    cp -r "$work/$maker/out" "$work/$maker-$changer/in"
    run "$work/$maker-$changer" "$changer"
  done
  same "$maker-linux" "$maker-windows"
done
echo "exchange: records made by either build are changed alike by both"
