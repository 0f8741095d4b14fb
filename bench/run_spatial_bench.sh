#!/usr/bin/env bash
# Times the spatial autocorrelation of 1000 individuals in 10 classes with 999 permutations and
# 999 bootstraps beside the numpy implementation of the same analysis in one go (goal: well under
# 10 s on two cores):
#   bench/run_spatial_bench.sh
# Builds a Release tree with the benchmarks in build-bench/; the peer runs with Debian's
# /usr/bin/python3 (python3-numpy). Run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_spatial_bench
uptime
echo "== Vorn"
build-bench/bench/vorn_spatial_bench
echo "== numpy"
/usr/bin/python3 bench/numpy_spatial.py
uptime
