#!/usr/bin/env bash
# Peak memory (maximum resident set, /usr/bin/time -v) of each analysis at N individuals x L loci
# (default 5000 x 1000, 5 % missing, three populations), each a script of its own after the load,
# which is included; with BASE=path/to/vorn the same scripts run with that program too, in the
# same run, beside it, and every file and transcript the two write is compared byte for byte.
#   bench/run_memory_bench.sh [individuals] [loci]
# VORN=path/to/vorn uses that program instead of building build-bench/vorn.
set -euo pipefail
cd "$(dirname "$0")/.."
individuals="${1:-5000}"
loci="${2:-1000}"

source bench/dart_steps.sh
programs=("$(vorn_program)")
[ -n "${BASE:-}" ] && programs+=("$(realpath "$BASE")")
work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
/usr/bin/python3 bench/make_dart_data.py "$work/dart.txt" "$individuals" "$loci" "$work/places.csv"
echo "data: $individuals individuals x $loci loci; work folder: $work"; uptime

declare -A steps=(
  [01_load]=""
  [02_jaccard]="$similarity"
  [03_jaccard_written]="Analysis > Standard Similarity"
  [04_average]="Analysis > Average Similarity"
  [05_upgma_cophenetic]="$similarity
Trees > UPGMA
Trees > Cophenetic Correlation"
  [06_neighbor_joining]="$similarity
Trees > Neighbor-Joining"
  [07_bootstrap_consensus]="$(bootstrap_consensus 10)"
  [08_amova_999]="$amova_999"
  [09_pairwise_phipt]="Analysis > Pairwise PhiPT
    Pairwise PhiPT: permutations=99
    Pairwise PhiPT: Yes"
  [10_pcoa_fast]="$pcoa_fast"
  [11_mantel_individuals]="$similarity
Analysis > Mantel Test
    Mantel Test: matrices=individuals, coordinates_file=places.csv, permutations=99, pairs_file=pairs.tsv
    Mantel Test: Yes"
  [12_mantel_nei]="Analysis > Mantel Test
    Mantel Test: matrices=populations, level=1, genetic=nei, coordinates_file=places.csv, permutations=99
    Mantel Test: Yes"
  [13_exports]="$exports"
)
header="step"; for p in "${programs[@]}"; do header+="|peak MB, processor s"; done
echo "$header${BASE:+|same output}"
for step in $(printf '%s\n' "${!steps[@]}" | sort); do
  [ -n "${STEPS:-}" ] && [[ ! " $STEPS " == *" $step "* ]] && continue
  line="$step"
  for k in "${!programs[@]}"; do
    dir="$work/$k/$step"; mkdir -p "$dir"; ln -sf "$work/dart.txt" "$work/places.csv" "$dir/"
    printf '%s\n%s\n' "$load" "${steps[$step]}" > "$dir/script.vorn"
    (cd "$dir" && /usr/bin/time -f "%M %U %S" -o ../time.txt "${programs[$k]}" --script script.vorn --seed 1 > transcript.txt 2>&1) ||
      line+=" (failed)"
    read -r kilobytes user system < "$work/$k/time.txt"
    line+="|$((kilobytes / 1024)), $(echo "$user + $system" | bc)"
  done
  if [ -n "${BASE:-}" ]; then
    diff -r -q "$work/0/$step" "$work/1/$step" > /dev/null && line+="|identical" || line+="|DIFFERENT"
  fi
  echo "$line"
done
uptime
