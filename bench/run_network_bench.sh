#!/usr/bin/env bash
# Times Trees > NeighborNet through the script host beside R phangorn's neighborNet() in the same
# run, on the Jaccard distances (1 - S) of random band data without missing scores (the matrix
# itself not timed):
#   N = 60 x 200 loci, Vorn and phangorn (bench/phangorn_neighbor_net.R), their ratio;
#   N = 200 and N = 500 x 500 loci, Vorn; phangorn's least squares hold the dense normal
#   equations of all N (N - 1) / 2 circular splits (3.2 GB at N = 200, 124 GB at N = 500) and
#   are not run;
#   N = 200 x 500 loci with bootstrap support from 100 replicate networks, Vorn.
#   [OLD_VORN=path/to/older/vorn] bench/run_network_bench.sh [repetitions]
# Builds a Release tree in build-bench/; with OLD_VORN, every Vorn case runs that program too, in
# turn with this one. Read ratios within a case: the machine is shared.
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
for n, loci in ((60, 200), (200, 500), (500, 500)):
    random.seed(n)
    with open(f"{sys.argv[1]}/d{n}.txt", "w") as out:
        out.write(" ".join(f"ind{i}" for i in range(n)) + "\n")
        for _ in range(loci):
            out.write(" ".join(random.choice("01") for _ in range(n)) + "\n")
        out.write("*\n")
PY
for n in 60 200 500; do
  printf 'File > Load\n    file: d%s.txt\nAnalysis > Standard Similarity\n' "$n" > "$work/matrix$n.vorn"
  { cat "$work/matrix$n.vorn"; printf 'Trees > NeighborNet\n    Output file exists: Yes\n'; } > "$work/net$n.vorn"
done
{
  printf 'File > Load\n    file: d200.txt\nOptions > Replicate Analysis Settings\n    Replicate Analyses Settings: bs=100\n'
  printf 'Analysis > Standard Similarity\n'
} > "$work/setup200.vorn"
{ cat "$work/setup200.vorn"; printf 'Trees > NeighborNet\n    NeighborNet: bootstrap_support=true\n    Output file exists: Yes\n'; } > "$work/support200.vorn"
# milliseconds PROGRAM SCRIPT
milliseconds() {
  local start end
  start=$(date +%s%N)
  (cd "$work" && rm -f analysis.txt && "$1" --script "$2.vorn" --seed 1 > /dev/null)
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
# vorn_case LABEL BASE RUN: prints and keeps (in last) the median of RUN's time less BASE's, and
# the older program's beside it when OLD_VORN names one
last=0
vorn_case() {
  local runs=() old=()
  for _ in $(seq "$repetitions"); do
    runs+=($(($(milliseconds "$vorn" "$3") - $(milliseconds "$vorn" "$2"))))
    if [ -n "${OLD_VORN:-}" ]; then old+=($(($(milliseconds "$OLD_VORN" "$3") - $(milliseconds "$OLD_VORN" "$2")))); fi
  done
  last=$(printf '%s\n' "${runs[@]}" | median)
  echo "vorn      $1: median $last ms (runs: ${runs[*]} ms)"
  if [ -n "${OLD_VORN:-}" ]; then
    echo "older     $1: median $(printf '%s\n' "${old[@]}" | median) ms (runs: ${old[*]} ms)"
  fi
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
echo "vector extensions: $(grep -m1 flags /proc/cpuinfo | tr ' ' '\n' | grep -E '^(avx2|avx512f|fma)$' | tr '\n' ' ')"
echo "== NeighborNet of 60 individuals x 200 loci"
vorn_case "NeighborNet N=60" matrix60 net60
if command -v Rscript > /dev/null && Rscript -e 'library(phangorn)' > /dev/null 2>&1; then
  peer=$(Rscript "$bench/phangorn_neighbor_net.R" "$work/d60.txt" | awk '{printf "%d", $1 * 1000}')
  echo "phangorn  NeighborNet N=60: $peer ms"
  awk -v v="$last" -v p="$peer" 'BEGIN {printf "ratio     phangorn / vorn: %.0f\n", p / (v > 0 ? v : 1)}'
else
  echo "phangorn  NeighborNet N=60: SKIPPED, R's phangorn is not installed (apt-get install r-cran-phangorn)"
fi
echo "== NeighborNet of 200 and 500 individuals x 500 loci (phangorn not run: dense normal equations)"
vorn_case "NeighborNet N=200" matrix200 net200
vorn_case "NeighborNet N=500" matrix500 net500
echo "== NeighborNet of 200 individuals x 500 loci with the support of 100 bootstrap networks"
vorn_case "NeighborNet N=200 BS=100" setup200 support200
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
