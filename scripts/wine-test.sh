#!/usr/bin/env bash
# Runs a Windows test program under wine, offscreen, and shows its output as
# the Linux tests show theirs: wine-test.sh WINEPREFIX QT_BIN PROGRAM [ARGS].
set -uo pipefail
prefix=$1 qtbin=$2
shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEPATH="$qtbin;/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"
# Wine hands Windows programs no QT_ variable of Linux: the programs the tests
# start read the platform from the prefix's own environment.
(
  flock 9
  if [ ! -f "$prefix/pawfolio-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/pawfolio-ready"
  fi
) 9>"$prefix.lock"
case $(basename "$1") in
  test_*) ;;
  *) exec wine "$@" ;;
esac
# A Windows program's own output does not reach a pipe here: it goes to a file.
out=$(mktemp --suffix=.txt)
trap 'rm -f "$out"' EXIT
wine "$@" -o "$(winepath -w "$out" 2>/dev/null),txt"
rc=$?
cat "$out"
exit $rc
