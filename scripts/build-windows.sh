#!/usr/bin/env bash
# Builds Pawfolio and its tests for 64-bit Windows on this Debian machine, with
# mingw-w64 and the Qt for Windows in ../shared/qt-mingw, warnings as errors;
# with --test, runs the tests under wine. The build is in build-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh g++-mingw-w64-x86-64-posix wine wine64 ninja-build qt6-base-dev-tools
# Qt for Windows: the team's build of it, beside the project (or in /work, for a
# clone elsewhere), unpacked once into the person's cache.
shared=$(realpath -e ../shared/qt-mingw 2>/dev/null || echo /work/shared/qt-mingw)
tarball=$shared/qt-6.4.2-mingw-w64-x86_64.tar.xz
qt=${PAWFOLIO_QT_MINGW:-$HOME/.cache/pawfolio/qt-mingw}
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  mkdir -p "$qt"
  tar -C "$qt" -xJf "$tarball"
fi
# moc and rcc come from the Linux Qt of the same version.
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$shared/mingw.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DPAWFOLIO_WERROR=ON
cmake --build build-windows -j2
if [ "${1:-}" = --test ]; then
  ctest --test-dir build-windows --output-on-failure -j2
  # What Windows cannot show here, by name, and the count of each program's checks.
  grep -hE '^(SKIP|Totals)' build-windows/Testing/Temporary/LastTest.log
  # Records passed between the two builds, when the Linux one is built too.
  if [ -x build-tests/tests/test_windows ]; then
    cmake --build build-tests -j2 --target test_windows
    bash tests/exchange/test_exchange.sh build-tests build-windows
  fi
fi
