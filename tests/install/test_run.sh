#!/usr/bin/env bash
# scripts/run.sh and the program built in the folder given ($1) without a
# display; scripts/run.sh started through sudo builds and starts Pawfolio as
# the person who called sudo, not as root: tried on a stand-in project whose
# "pawfolio" writes down who ran it.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
run="$(dirname "$0")/../../scripts/run.sh"
# Without a display run.sh (before it builds anything) and the program each
# say so in one line and end with status 1.
without_display() {
  local status=0 said
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" 2>&1) || status=$?
  [ "$status" = 1 ] && [ "$(printf '%s\n' "$said" | wc -l)" = 1 ] && [[ "$said" == *"no display was found"*xvfb-run* ]] ||
    fail "without a display, $* ended with $status, saying: $said"
}
without_display bash "$run"
without_display "$1/pawfolio"
[ "$(id -u)" = 0 ] || { echo "skipped: acting as another user needs root"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/scripts"
cp "$(dirname "$0")/../../scripts/run.sh" "$(dirname "$0")/../../scripts/deps.sh" "$scratch/scripts"
cat > "$scratch/CMakeLists.txt" << 'STUB'
cmake_minimum_required(VERSION 3.25)
project(stand_in NONE)
file(WRITE "${CMAKE_BINARY_DIR}/pawfolio" "#!/bin/sh\nid -un > \"$0.ran-as\"\n")
file(CHMOD "${CMAKE_BINARY_DIR}/pawfolio" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
add_custom_target(pawfolio)
STUB
chown -R nobody: "$scratch"
chmod 755 "$scratch"
SUDO_USER=nobody DISPLAY=:0 bash "$scratch/scripts/run.sh" > /dev/null
[ "$(cat "$scratch/build/pawfolio.ran-as")" = nobody ] || fail "Pawfolio was started as $(cat "$scratch/build/pawfolio.ran-as")"
[ -z "$(find "$scratch/build" ! -user nobody)" ] || fail "the build holds files root made: $(find "$scratch/build" ! -user nobody)"
echo "1 passed, 0 failed"
