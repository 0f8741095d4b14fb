#!/usr/bin/env bash
# Times F_ST from band frequencies of 20 populations x 50 individuals x 1000 loci with 999
# permutations (the overall test and the 190 pairs') beside the numpy implementation of the same
# statistic (its overall test only) in one go:
#   bench/run_band_fst_bench.sh
# Builds a Release tree with the benchmarks in build-bench/; the peer runs with Debian's
# /usr/bin/python3 (python3-numpy, python3-scipy).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_band_fst_bench
uptime
echo "== Vorn"
build-bench/bench/vorn_band_fst_bench
echo "== numpy"
/usr/bin/python3 bench/numpy_band_fst.py
uptime
