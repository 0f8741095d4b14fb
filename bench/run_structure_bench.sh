#!/usr/bin/env bash
# Population structure beside a plain EM loop in numpy and adegenet's find.clusters, same data:
#   bench/run_structure_bench.sh [individuals] [loci]      (500 x 1000 at first)
# Builds a Release tree with the benchmarks in build-bench/ (needs Debian's python3-numpy, and
# r-cran-adegenet for the reference time of what users run today).
set -euo pipefail
cd "$(dirname "$0")/.."
individuals="${1:-500}"
loci="${2:-1000}"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_structure_bench -j2
/usr/bin/python3 bench/numpy_admixture_em.py simulate "$individuals" "$loci" 3 "$data"

echo "== one fit of K = 3 from the same start, tolerance 1e-4; load: $(uptime)"
build-bench/bench/vorn_structure_bench fit "$data" 1e-4
/usr/bin/python3 bench/numpy_admixture_em.py fit "$data" 1e-4

echo "== K = 1..6 x 10 runs with 5-fold cross-validation; load: $(uptime)"
build-bench/bench/vorn_structure_bench runs "$data" 6 10 5

echo "== adegenet find.clusters (k-means on PCA, K = 1..6); load: $(uptime)"
Rscript bench/adegenet_find_clusters.R "$data/scores.txt"
