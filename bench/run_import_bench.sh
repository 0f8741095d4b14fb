#!/usr/bin/env bash
# Times File > Import's readers on 2000 samples by 10000 loci beside numpy and R's read.csv on the
# same file, in one go:  bench/run_import_bench.sh [repetitions]
# Builds a Release tree with the benchmarks in build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_bench -j2

echo "== Vorn (Google Benchmark, $repetitions repetitions)"
build-bench/bench/vorn_bench --benchmark_filter='Import' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true

echo "== numpy"
if /usr/bin/python3 -c 'import numpy' 2> /dev/null; then /usr/bin/python3 bench/numpy_read_table.py
else echo "numpy is not installed (Debian python3-numpy): skipped"; fi

echo "== R"
if command -v Rscript > /dev/null; then Rscript bench/r_read_table.R
else echo "R is not installed (Debian r-base-core): skipped"; fi
