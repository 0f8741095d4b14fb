#!/usr/bin/env bash
# Population structure beside a plain EM loop in numpy and adegenet's find.clusters, same data:
#   bench/run_structure_bench.sh [individuals] [loci]      (500 x 1000 at first)
#  1. one fit of K = 3 from the same start as the numpy EM, tolerance 1e-4, and numpy's ln L at
#     the q and r Vorn wrote;
#  2. K = 1..6 x 10 runs with 5-fold cross-validation, on one and on two cores (the same bits);
#  3. the acceptance data: 200 x 2000 from the model with K = 3 (F_ST 0.1, 10 % missing, a fifth
#     admixed) and with K = 1: the K chosen by dK and by cross-validation, the error of the best
#     run's q against the truth beside the numpy EM's fit from the true values;
#  4. the DArT-sized file (bench/make_dart_data.py, 5000 x 20000): one fit of K = 3 from a random
#     start, with the peak memory of the benchmark program (skipped with DART=0);
#  5. adegenet's find.clusters on the data of 1 and 2, the reference of what users run today.
# Builds a Release tree with the benchmarks in BUILD (build-bench unless set; needs Debian's
# python3-numpy, and r-cran-adegenet for the reference time).
set -euo pipefail
cd "$(dirname "$0")/.."
individuals="${1:-500}"
loci="${2:-1000}"
build="${BUILD:-build-bench}"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
python=/usr/bin/python3
peer=bench/numpy_admixture_em.py

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build "$build" --target vorn_structure_bench -j2 > /dev/null
bench="$build/bench/vorn_structure_bench"
echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores"

mkdir -p "$data/main" "$data/three" "$data/one" "$data/dart"
$python $peer simulate "$individuals" "$loci" 3 "$data/main"
echo "== 1. one fit of K = 3, $individuals x $loci, from the same start, tolerance 1e-4; load: $(uptime)"
fit="$("$bench" fit "$data/main" 1e-4)"
echo "$fit"
$python $peer evaluate "$data/main" "$(echo "$fit" | sed 's/.*lnL \([-0-9.]*\).*/\1/')"
$python $peer fit "$data/main" 1e-4

echo "== 2. K = 1..6 x 10 runs with 5-fold cross-validation; load: $(uptime)"
OMP_NUM_THREADS=2 "$bench" runs "$data/main" 6 10 5 | tee "$data/two.txt"
echo "   again on one core; load: $(uptime)"
OMP_NUM_THREADS=1 "$bench" runs "$data/main" 6 10 5 > "$data/one.txt"
grep -v "CV: " "$data/one.txt" > "$data/one_numbers.txt"; grep -v "CV: " "$data/two.txt" > "$data/two_numbers.txt"
grep "CV: " "$data/one.txt"
cmp -s "$data/one_numbers.txt" "$data/two_numbers.txt" && echo "   one core and two cores: the same numbers" ||
  echo "   one core and two cores: DIFFERENT numbers"

for case in three one; do
  k=$([ "$case" = three ] && echo 3 || echo 1)
  $python $peer simulate 200 2000 "$k" "$data/$case"
  echo "== 3. acceptance data 200 x 2000 from the model with K = $k; load: $(uptime)"
  runs="$("$bench" runs "$data/$case" 6 10 5)"
  echo "$runs"
  best="$(echo "$runs" | grep "best run" | sed 's/.*lnL \([-0-9.]*\).*/\1/')"
  $python $peer evaluate "$data/$case" "$best"
  $python $peer fit "$data/$case" 1e-4 truth
done

if [ "${DART:-1}" != 0 ]; then
  echo "== 4. DArT-sized file 5000 x 20000, one run of K = 3; load: $(uptime)"
  $python bench/make_dart_data.py "$data/dart/dart.txt" 5000 20000
  $python $peer convert "$data/dart/dart.txt" "$data/dart" 3
  /usr/bin/time -f "%e %M" -o "$data/dart/time.txt" "$bench" fit "$data/dart" 1e-4
  read -r seconds kilobytes < "$data/dart/time.txt"
  echo "   the fit's program (reading the scores included): $seconds s, peak memory $((kilobytes / 1024)) MB"
fi

echo "== 5. adegenet find.clusters (k-means on PCA, K = 1..6) on the data of 1 and 2; load: $(uptime)"
Rscript bench/adegenet_find_clusters.R "$data/main/scores.txt"
