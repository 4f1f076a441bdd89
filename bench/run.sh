#!/usr/bin/env bash
# Builds Pawfolio for speed and prints the table of its figures, with the
# targets beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh xvfb xauth xdotool x11-utils
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-release -j2 --target pawfolio pawfolio_bench pawfolio_bare > /dev/null
build-release/pawfolio_bench "${TMPDIR:-/tmp}" 2> /dev/null
bench/startup.sh build-release/pawfolio build-release/pawfolio_bare
