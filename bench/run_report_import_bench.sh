#!/usr/bin/env bash
# Times File > Import > DArT Presence/Absence Report on 2000 individuals by 50000 markers beside
# R's read.csv of the same file, in one run, each with its peak memory (/usr/bin/time -v); the
# goal is under 10 s and within 3 x the matrix's own size (one byte per score, 100 MB).
#   bench/run_report_import_bench.sh [build-release [individuals markers]]
# Takes the vorn program of a Release tree (configured and built here when it is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-release}"
individuals="${2:-2000}"
markers="${3:-50000}"
work="$(mktemp -d /tmp/vorn-report-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT

if [ ! -x "$build/src/vorn" ] && [ ! -x "$build/vorn" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF > /dev/null
  cmake --build "$build" --target vorn
fi
vorn="$build/src/vorn"
[ -x "$vorn" ] || vorn="$build/vorn"

python3 bench/make_report.py "$work/report.csv" "$individuals" "$markers"
echo "report: $individuals individuals x $markers markers, $(du -m "$work/report.csv" | cut -f1) MB"

# Prints the elapsed time and the peak resident memory of the command that time -v measured.
summary() {
  awk -F': ' '/Elapsed \(wall clock\)/ {t = $2} /Maximum resident set size/ {m = $2}
              END {printf "  %s elapsed, peak %.0f MB\n", t, m / 1024}' "$1"
}

printf 'File > Import > DArT Presence/Absence Report (CSV)\n    file: %s\n' "$work/report.csv" > "$work/import.vorn"
echo "== Vorn"
/usr/bin/time -v "$vorn" --script "$work/import.vorn" --seed 1 2> "$work/vorn.time" | grep 'Importing File' || true
summary "$work/vorn.time"

echo "== R read.csv"
if command -v Rscript > /dev/null; then
  /usr/bin/time -v Rscript -e "t <- read.csv('$work/report.csv', skip = 2, check.names = FALSE, na.strings = '-');
    cat(sprintf('R read.csv: %d markers x %d columns\n', nrow(t), ncol(t)))" 2> "$work/r.time"
  summary "$work/r.time"
else
  echo "R is not installed (Debian r-base-core): skipped"
fi
