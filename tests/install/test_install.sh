#!/usr/bin/env bash
# Installs Pawfolio into a temporary prefix and checks what lands where.
set -euo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/pawfolio install XXXXXX") # a space in the path, as users have
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }
folder="$prefix/lib/pawfolio"
[ -x "$folder/pawfolio" ] || fail "no program in $folder"
for picture in "dog house.gif" "paw print.gif" poorlydog.gif doggie.gif dogtail.gif doggie-add.gif doggie-edit.gif \
  doggie-erase.gif doggie-save.gif doggie-print.gif doggie-close.gif journal-add.gif journal-edit.gif \
  journal-erase.gif no-photo.gif no-pic.gif doggie-ok.gif; do
  [ -f "$prefix/share/pawfolio/$picture" ] || fail "$picture is not in share/pawfolio"
done
[ "$(readlink -f "$prefix/bin/pawfolio")" = "$(readlink -f "$folder/pawfolio")" ] || fail "bin/pawfolio does not lead to the program"
[ -f "$prefix/share/icons/hicolor/128x128/apps/pawfolio.png" ] || fail "no icon"
desktop="$prefix/share/applications/org.pawfolio.Pawfolio.desktop"
grep -qF "Exec=\"$folder/pawfolio\"" "$desktop" || fail "the menu entry does not start the installed program"
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
echo "1 passed, 0 failed"
