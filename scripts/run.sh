#!/usr/bin/env bash
# Installs what is missing, builds Pawfolio and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target pawfolio
exec build/pawfolio
