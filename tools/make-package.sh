#!/usr/bin/env bash
# Builds the Debian package vorn_<version>_<arch>.deb in build-package/ in one command:
# installs what the build needs, builds Vorn (Release) with its help document, manual page and
# icons, and lets CPack make the package. Install it with: sudo apt install ./build-package/vorn_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev brings dpkg-shlibdeps, which finds the package's library dependencies.
tools/install-dependencies.sh dpkg-dev file
# Debian's hardening flags (fortified functions, stack protector, full RELRO with immediate binding),
# as every package of the distribution is built with them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
ls -1 build-package/vorn_*.deb
