#!/usr/bin/env bash
# Runs the Mantel benchmark and R's vegan on the same shape of data in one go:
#   bench/run_mantel_bench.sh [repetitions]
# Builds a Release tree with the benchmarks in build-bench/ (needs Debian's r-cran-vegan for R).
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_bench -j2

echo "== Vorn (Google Benchmark, $repetitions repetitions); load: $(uptime)"
build-bench/bench/vorn_bench --benchmark_filter='MantelTest' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true

echo "== R vegan; load: $(uptime)"
Rscript bench/vegan_mantel.R
