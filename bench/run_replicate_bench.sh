#!/usr/bin/env bash
# Times the replicate tree commands through the script host, whole command with the tree file
# written (loading the data excluded), beside their peers in the same run:
#   100 bootstrap Std. Jaccard trees of 500 individuals x 500 loci (10 % missing),
#   1000 bootstrap Std. Jaccard trees of 200 x 500, 100 Multiple Avg. trees (JC = 100) of 200 x 500;
# the peers, for the bootstrap trees: a SciPy loop (bench/scipy_bootstrap_trees.py, Debian
# python3-scipy) and R ape's boot.phylo (bench/ape_bootstrap_trees.R, Debian r-cran-ape). A peer
# that is not installed is skipped with a note.
#   bench/run_replicate_bench.sh [repetitions]
# R ape needs minutes per case, so it runs APE_REPETITIONS times (default 1). BASELINE=path times
# another build of vorn (an older commit's) beside this one, each repetition right after it.
# Builds a Release tree in build-bench/. Read the medians; the spread shows the machine's other load.
set -euo pipefail
cd "$(dirname "$0")/.."
repetitions="${1:-3}"
ape_repetitions="${APE_REPETITIONS:-1}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn
vorn="$PWD/build-bench/vorn"
baseline="${BASELINE:-}"
bench="$PWD/bench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import random, sys
for n, loci in ((500, 500), (200, 500)):
    random.seed(n)
    with open(f"{sys.argv[1]}/d{n}.txt", "w") as out:
        out.write(" ".join(f"ind{i}" for i in range(n)) + "\n")
        for _ in range(loci):
            out.write(" ".join("?" if random.random() < 0.1 else random.choice("01") for _ in range(n)) + "\n")
        out.write("*\n")
PY

# script NAME DATA SETTINGS [COMMAND]: a script that loads DATA, sets the replicate settings and
# runs COMMAND (answering "Save?" with No); without COMMAND only the first two.
script() {
  {
    printf 'File > Load\n    file: %s\n' "$2"
    printf 'Options > Replicate Analysis Settings\n    Replicate Analyses Settings: %s\n' "$3"
    if [ -n "${4:-}" ]; then printf 'Replicate Analyses > %s\n    Save?: No\n' "$4"; fi
  } > "$work/$1.vorn"
}
# milliseconds PROGRAM SCRIPT
milliseconds() {
  local start end
  start=$(date +%s%N)
  (cd "$work" && rm -f outtree.ph && "$1" --script "$2.vorn" --seed 1 > /dev/null)
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# vorn_case LABEL DATA SETTINGS COMMAND
vorn_case() {
  script load "$2" "$3"
  script run "$2" "$3" "$4"
  local runs=() old=()
  for _ in $(seq "$repetitions"); do
    local load
    load=$(milliseconds "$vorn" load)
    runs+=($(($(milliseconds "$vorn" run) - load)))
    if [ -n "$baseline" ]; then
      cp "$work/outtree.ph" "$work/new.ph"
      load=$(milliseconds "$baseline" load)
      old+=($(($(milliseconds "$baseline" run) - load)))
      cmp -s "$work/outtree.ph" "$work/new.ph" || echo "baseline $1: THE TREE FILES DIFFER"
    fi
  done
  echo "vorn   $1: median $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]} ms), $(wc -l < "$work/outtree.ph") trees"
  if [ -n "$baseline" ]; then
    echo "baseline $1: median $(printf '%s\n' "${old[@]}" | median) ms (runs: ${old[*]} ms)"
  fi
}

# peer_case LABEL DATA B
peer_case() {
  if /usr/bin/python3 -c 'import scipy' 2> /dev/null; then
    local runs=()
    for _ in $(seq "$repetitions"); do
      runs+=($(/usr/bin/python3 "$bench/scipy_bootstrap_trees.py" "$work/$2" "$3" "$work/scipy.ph" | awk '{printf "%d", $1 * 1000}'))
    done
    echo "scipy  $1: median $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]} ms)"
  else
    echo "scipy  $1: SKIPPED, python3-scipy is not installed (apt-get install python3-scipy)"
  fi
  if command -v Rscript > /dev/null && Rscript -e 'library(ape)' > /dev/null 2>&1; then
    local runs=()
    for _ in $(seq "$ape_repetitions"); do
      runs+=($(Rscript "$bench/ape_bootstrap_trees.R" "$work/$2" "$3" "$work/ape.ph" | awk '{printf "%d", $1 * 1000}'))
    done
    echo "R ape  $1: median $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]} ms)"
  else
    echo "R ape  $1: SKIPPED, R's ape is not installed (apt-get install r-cran-ape)"
  fi
}

echo "== 100 bootstrap Std. Jaccard trees, 500 individuals x 500 loci, 10 % missing"
vorn_case "BS=100 N=500" d500.txt "bs=100" "Bootstrap Std. Tree (BS+RMD)"
peer_case "BS=100 N=500" d500.txt 100
echo "== 1000 bootstrap Std. Jaccard trees, 200 individuals x 500 loci, 10 % missing"
vorn_case "BS=1000 N=200" d200.txt "bs=1000" "Bootstrap Std. Tree (BS+RMD)"
peer_case "BS=1000 N=200" d200.txt 1000
echo "== 100 Multiple Avg. Jaccard trees (JC = 100), 200 individuals x 500 loci, 10 % missing"
vorn_case "TR=100 JC=100 N=200" d200.txt "tr=100, jc=100" "Multiple Avg. Trees (TR+JC)"
echo "== 100 Bootstrap Avg. Jaccard trees (JC = 100), 200 individuals x 500 loci, 10 % missing"
vorn_case "BS=100 JC=100 N=200" d200.txt "bs=100, jc=100" "Bootstrap Avg. Trees (BS+JC)"
