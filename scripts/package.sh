#!/usr/bin/env bash
# Builds the Debian package of Pawfolio, pawfolio_<version>_amd64.deb, in
# build-package/, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh dpkg-dev
# Packing installs what these targets made, without building the tests.
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DPAWFOLIO_WERROR=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > /dev/null
cmake --build build-package -j2 --target pawfolio > /dev/null
(cd build-package && cpack -G DEB > /dev/null)
ls "$PWD"/build-package/pawfolio_*_amd64.deb
