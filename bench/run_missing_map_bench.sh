#!/usr/bin/env bash
# Times the missing data map of 5000 x 20000 beside numpy's block mean of the same size in one go:
#   bench/run_missing_map_bench.sh
# Builds a Release tree with the benchmarks in build-bench/; the peer runs with Debian's
# /usr/bin/python3 (python3-numpy).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_picture_bench
uptime
echo "== Vorn"
build-bench/bench/vorn_picture_bench --benchmark_filter=MissingMap
echo "== numpy"
/usr/bin/python3 bench/numpy_missing_map.py
uptime
