#!/usr/bin/env bash
# Installs what is missing, builds Pawfolio and its tests, and runs every test
# headless.
set -euo pipefail
cd "$(dirname "$0")/.."
# The tests read printed PDFs back (poppler-utils) and check the menu entry (desktop-file-utils).
scripts/deps.sh poppler-utils desktop-file-utils
cmake -S . -B build -DPAWFOLIO_WERROR=ON
cmake --build build -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
