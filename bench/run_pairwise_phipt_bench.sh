#!/usr/bin/env bash
# Runs the pairwise PhiPT benchmark and R's ade4 on the same shape of data in one go:
#   bench/run_pairwise_phipt_bench.sh [repetitions] [ade4 pairs]
# Builds a Release tree with the benchmarks in build-bench/ (needs Debian's r-cran-ade4 for R).
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_bench -j2

echo "== Vorn (Google Benchmark, $repetitions repetitions); load: $(uptime)"
build-bench/bench/vorn_bench --benchmark_filter='PairwisePhiPT' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true

echo "== R ade4"
Rscript bench/ade4_pairwise_phipt.R 999 "${2:-10}"
