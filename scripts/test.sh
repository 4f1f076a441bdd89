#!/usr/bin/env bash
# Installs what is missing, builds Pawfolio and its tests, and runs every test
# headless.
set -euo pipefail
cd "$(dirname "$0")/.."
# The tests read printed PDFs back (poppler-utils), check the menu entry
# (desktop-file-utils), and check the Debian package and start it under Xvfb.
scripts/deps.sh poppler-utils desktop-file-utils lintian appstream xvfb xauth xdotool
cmake -S . -B build-tests -DPAWFOLIO_WERROR=ON
cmake --build build-tests -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build-tests --output-on-failure -j2
# The Debian package, built for release, checked and started as an ordinary user.
bash tests/package/test_package.sh "$(bash scripts/package.sh)"
