#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing. Extra package names may be
# given as arguments (the tests add theirs).
set -euo pipefail

# qt6-base-dev builds the desktop window, qt6-svg-dev its SVG pictures; xvfb and xauth let the
# window start without a screen (xvfb-run -a build/vorn); liblapacke-dev and libopenblas-dev give
# the fast eigen solver of the principal coordinate analysis.
packages=(cmake ninja-build g++ libgtest-dev qt6-base-dev qt6-svg-dev xvfb xauth liblapacke-dev libopenblas-dev "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
