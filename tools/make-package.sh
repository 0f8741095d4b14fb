#!/usr/bin/env bash
# Builds the Debian package vorn_<version>_<arch>.deb in build-package/ in one command:
# installs what the build needs, builds Vorn (Release) with its help document, manual page and
# icons, and lets CPack make the package. Install it with: sudo apt install ./build-package/vorn_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev brings dpkg-shlibdeps, which finds the package's library dependencies.
tools/install-dependencies.sh dpkg-dev file
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
ls -1 build-package/vorn_*.deb
