#!/usr/bin/env bash
# Checks the Debian package: lintian, pedantic and with its information tags
# shown, finds nothing to report, it holds just the files
# listed below and its metadata is valid; then, as root, unpacked into a
# scratch root and started there by another, unprivileged user under Xvfb,
# the dog it is given lands in that user's data folder while nothing is
# written under the program folder.
set -euo pipefail
deb=$(realpath "$1")
scratch=$(mktemp -d)
app='' xvfb=''
trap 'kill $app $xvfb 2> /dev/null || true; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" || fail "lintian reports the package"
dpkg-deb -c "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//; s/ -> .*//' | sort > "$scratch/files"
sort > "$scratch/expected" << LIST
$(for s in 16 22 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${s}x$s/apps/pawfolio.png"; done)
$(cd "$(dirname "$0")/../../assets" && for p in *.gif; do echo "./usr/share/pawfolio/$p"; done)
./usr/bin/pawfolio
./usr/lib/pawfolio/pawfolio
./usr/share/applications/org.pawfolio.Pawfolio.desktop
./usr/share/doc/pawfolio/changelog.gz
./usr/share/doc/pawfolio/copyright
./usr/share/icons/hicolor/scalable/apps/pawfolio.svg
./usr/share/man/man1/pawfolio.1.gz
./usr/share/metainfo/org.pawfolio.Pawfolio.metainfo.xml
LIST
diff "$scratch/expected" "$scratch/files" || fail "the package's files differ from the list (< missing, > unexpected)"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/"*.xml > /dev/null || fail "the AppStream metadata is not valid"
desktop-file-validate "$root/usr/share/applications/org.pawfolio.Pawfolio.desktop" || fail "the menu entry is not valid"
[ "$(id -u)" = 0 ] || { echo "1 passed, 1 skipped: starting it as another user needs root"; exit 0; }
# A person who cannot write the program folder, with a home of their own.
mkdir -m 700 "$scratch/home" "$scratch/run"
chown nobody: "$scratch/home" "$scratch/run"
chmod 755 "$scratch"
find "$root" -printf '%p %s %T@\n' | sort > "$scratch/before"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$scratch/display" > /dev/null 2>&1 &
xvfb=$!
until [ -s "$scratch/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$scratch/display")"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" \
  "$root/usr/bin/pawfolio" 2> "$scratch/log" &
app=$!
window() { timeout 20 xdotool search --sync --onlyvisible --pid "$app" --name "^$1\$" | head -n 1; }
xdotool windowfocus --sync "$(window " ")" key alt+d
xdotool windowfocus --sync "$(window Doggies)" key alt+a
xdotool type --delay 50 Wino
xdotool key alt+a
records=$scratch/home/.local/share/Pawfolio
for _ in $(seq 100); do [ -s "$records/doggies.dat" ] && break; sleep 0.1; done
grep -q Wino "$records/doggies.dat" 2> /dev/null || { cat "$scratch/log" >&2; fail "no dog saved in $records"; }
[ "$(stat -c %U "$records/doggies.dat")" = nobody ] || fail "the record is not its person's"
find "$root" -printf '%p %s %T@\n' | sort | diff "$scratch/before" - || fail "something was written under the program's root"
# PAWFOLIO_SHOT=file.png keeps a screenshot of the program as the test leaves it (ImageMagick's import).
[ -n "${PAWFOLIO_SHOT:-}" ] && import -window root "$PAWFOLIO_SHOT"
echo "2 passed, 0 failed"
