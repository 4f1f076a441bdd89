#!/usr/bin/env bash
# Installs what is missing, builds Pawfolio and its tests, and runs every test
# headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh poppler-utils # the tests read printed PDFs back with pdftotext
cmake -S . -B build -DPAWFOLIO_WERROR=ON
cmake --build build -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
