#!/usr/bin/env bash
# Installs what is missing, builds the tests (Debug, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

# desktop-file-utils and appstream check the desktop files of the installed layout.
tools/install-dependencies.sh desktop-file-utils appstream
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_TESTS=ON > /dev/null
cmake --build build-tests
cd build-tests
ctest --output-on-failure -j "$(nproc)" "$@"
