#!/usr/bin/env bash
# Times neighbor-joining through the script host beside R ape in the same run:
#   Trees > Neighbor-Joining of 2000 individuals (the Standard Jaccard matrix of 2000 x 200 loci,
#   10 % missing; the matrix itself not timed) beside ape's nj() on the same distances
#   (bench/ape_nj.R), and 100 bootstrap Std. trees by neighbor-joining of 500 x 500 beside ape's
#   boot.phylo with nj() (bench/ape_bootstrap_trees.R ... nj), tree files written.
#   bench/run_tree_methods_bench.sh [repetitions]
# Builds a Release tree in build-bench/. Read ratios within a case: the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn
vorn="$PWD/build-bench/vorn"
bench="$PWD/bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import random, sys
for n, loci in ((2000, 200), (500, 500)):
    random.seed(n)
    with open(f"{sys.argv[1]}/d{n}.txt", "w") as out:
        out.write(" ".join(f"ind{i}" for i in range(n)) + "\n")
        for _ in range(loci):
            out.write(" ".join("?" if random.random() < 0.1 else random.choice("01") for _ in range(n)) + "\n")
        out.write("*\n")
PY
printf 'File > Load\n    file: d2000.txt\nAnalysis > Standard Similarity\n' > "$work/matrix.vorn"
{ cat "$work/matrix.vorn"; printf 'Trees > Neighbor-Joining\n'; } > "$work/nj.vorn"
printf 'File > Load\n    file: d500.txt\nOptions > Tree Method\n    Tree Method: method=nj\nOptions > Replicate Analysis Settings\n    Replicate Analyses Settings: bs=100\n' > "$work/setup.vorn"
{ cat "$work/setup.vorn"; printf 'Replicate Analyses > Bootstrap Std. Tree (BS+RMD)\n    Save?: No\n'; } > "$work/boot.vorn"
milliseconds() {
  local start end
  start=$(date +%s%N)
  (cd "$work" && rm -f outtree.ph analysis.txt && "$vorn" --script "$1.vorn" --seed 1 > /dev/null)
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
# vorn_case LABEL BASE RUN: the median of RUN's time less BASE's
vorn_case() {
  local runs=()
  for _ in $(seq "$repetitions"); do runs+=($(($(milliseconds "$3") - $(milliseconds "$2")))); done
  echo "vorn   $1: median $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]} ms)"
}
ape() {
  if command -v Rscript > /dev/null && Rscript -e 'library(ape)' > /dev/null 2>&1; then
    echo "R ape  $1: $(Rscript "${@:2}" | awk '{printf "%d", $1 * 1000}') ms"
  else
    echo "R ape  $1: SKIPPED, R's ape is not installed (apt-get install r-cran-ape)"
  fi
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== Neighbor-joining of 2000 individuals"
vorn_case "NJ N=2000" matrix nj
ape "NJ N=2000" "$bench/ape_nj.R" "$work/d2000.txt"
echo "== 100 bootstrap Std. Jaccard trees by neighbor-joining, 500 individuals x 500 loci, 10 % missing"
vorn_case "BS=100 NJ N=500" setup boot
ape "BS=100 NJ N=500" "$bench/ape_bootstrap_trees.R" "$work/d500.txt" 100 "$work/ape.ph" nj
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
