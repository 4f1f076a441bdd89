#!/usr/bin/env bash
# Builds the Debian package of Pawfolio, pawfolio_<version>_amd64.deb, in
# build-package/, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh dpkg-dev
# Built with the distribution's hardening flags, bind-now included, as a
# Debian maintainer builds; packing installs what these targets made, without
# building the tests.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DPAWFOLIO_WERROR=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package -j2 --target pawfolio > /dev/null
(cd build-package && cpack -G DEB > /dev/null)
ls "$PWD"/build-package/pawfolio_*_amd64.deb
