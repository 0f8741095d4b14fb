#!/usr/bin/env bash
# Installs what is missing, builds Vorn and starts it. Without a display it runs the bundled
# example script instead of opening the window.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-dependencies.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF > /dev/null
cmake --build build

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/vorn "$@"
fi
echo "No display found: running the example script examples/example.vorn"
exec ./build/vorn --script examples/example.vorn "$@"
