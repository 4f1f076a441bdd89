#!/usr/bin/env bash
# Installs what is missing (asking for root, through sudo, for that alone),
# builds Pawfolio and starts it as the person who ran the script: a desktop
# program has no business running as root.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Pawfolio: no display was found. Start it from your desktop session, or without one through xvfb-run (xvfb-run scripts/run.sh)." >&2
  exit 1
fi
scripts/deps.sh
person=()
if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  # Started through sudo: the build and the program are the person's.
  person=(runuser -u "$SUDO_USER" --)
  if command -v sudo > /dev/null; then
    person=(sudo -u "$SUDO_USER" -H --preserve-env=DISPLAY,XAUTHORITY,WAYLAND_DISPLAY,XDG_RUNTIME_DIR)
  fi
fi
"${person[@]}" cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
"${person[@]}" cmake --build build -j2 --target pawfolio
exec "${person[@]}" build/pawfolio
