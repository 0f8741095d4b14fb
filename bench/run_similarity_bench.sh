#!/usr/bin/env bash
# Runs the similarity benchmarks and the SciPy comparison in one go, then times the Standard
# Similarity command through the script host (reading excluded, writing the matrix included).
#   bench/run_similarity_bench.sh [repetitions]
# Builds a Release tree with the benchmarks in build-bench/. The machine's other load shows in
# the spread of the repetitions: read the medians and say how far the runs scattered.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn vorn_bench

echo "== Vorn (Google Benchmark, $repetitions repetitions)"
build-bench/bench/vorn_bench --benchmark_filter='Matrix|Jaccard|Command' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true

echo "== SciPy"
/usr/bin/python3 bench/scipy_jaccard.py 500 2000

echo "== Whole command through the script host, N = 2000, L = 1000, 10% missing"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/data.txt" <<'PY'
import random, sys
random.seed(7)
n, loci = 2000, 1000
with open(sys.argv[1], "w") as out:
    out.write(" ".join(f"ind{i}" for i in range(n)) + "\n")
    for _ in range(loci):
        out.write(" ".join("?" if random.random() < 0.1 else random.choice("01") for _ in range(n)) + "\n")
    out.write("*\n")
PY
printf 'File > Load\n    file: data.txt\n' > "$work/load.vorn"
printf 'File > Load\n    file: data.txt\nAnalysis > Standard Similarity\n' > "$work/standard.vorn"
vorn="$PWD/build-bench/vorn"
milliseconds() {
  local start end
  start=$(date +%s%N)
  (cd "$work" && rm -f analysis.txt && "$vorn" --script "$1" > /dev/null)
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
for run in $(seq "$repetitions"); do
  load=$(milliseconds load.vorn)
  both=$(milliseconds standard.vorn)
  echo "run $run: load ${load} ms, load + Standard Similarity ${both} ms, command $((both - load)) ms," \
       "analysis.txt $(stat -c %s "$work/analysis.txt") bytes"
done
