#!/usr/bin/env bash
# A DArT-sized workflow through the script host, timed step by step with its peak memory:
# N individuals x L loci (default 5000 x 20000), 5 % missing, three populations of equal size;
# load, Standard Jaccard, UPGMA, 100 bootstrap trees and their majority-rule consensus, AMOVA with
# 999 permutations, PCoA with the relatively robust representations solver, Nexus and Structure exports.
#   bench/run_dart_workflow.sh [individuals] [loci]
# VORN=path/to/vorn uses that program instead of building build-bench/vorn (bench/dart_steps.sh).
# VORN_KERNEL_PATH=plain, avx2 or avx512 forces the kernels' path of build-bench/vorn, the
# benchmarks' build of the program (an AVX2 machine's timings taken on an AVX-512 one).
# Each step runs as a script of its own after the load (load included in every step's time, and
# given once on its own) so that /usr/bin/time -v gives each step's peak. The peers follow in the
# same run, stopped after PEER_TIMEOUT seconds (default 1800, "did not finish" then): SciPy/numpy
# (pdist Jaccard, weighted linkage, 100 bootstrap linkages, eigh of the centred matrix).
set -euo pipefail
cd "$(dirname "$0")/.."
individuals="${1:-5000}"
loci="${2:-20000}"
timeout_s="${PEER_TIMEOUT:-1800}"

source bench/dart_steps.sh
vorn="$(vorn_program)"
work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

/usr/bin/python3 bench/make_dart_data.py "$work/dart.txt" "$individuals" "$loci"
echo "data: $individuals individuals x $loci loci, $(du -h "$work/dart.txt" | cut -f1)"
echo "work folder: $work"; uptime
"$vorn" --version | grep "^Kernels:"

declare -A steps=(
  [1_load]=""
  [2_jaccard]="$similarity"
  [3_upgma]="$similarity
Trees > UPGMA"
  [4_bootstrap_consensus]="$(bootstrap_consensus 100 50)"
  [5_amova_999]="$amova_999"
  [6_pcoa_fast]="$pcoa_fast"
  [7_exports]="$exports"
)
printf '%-24s %10s %12s\n' step seconds "peak MB"
for step in $(printf '%s\n' "${!steps[@]}" | sort); do
  printf '%s\n%s\n' "$load" "${steps[$step]}" > "$work/$step.vorn"
  (cd "$work" && rm -f outtree.ph constree.ph analysis.txt &&
   /usr/bin/time -f "%e %M" -o "$step.time" "$vorn" --script "$step.vorn" --seed 1 > "$step.log" 2>&1) ||
    { echo "$step failed:"; tail -5 "$work/$step.log"; continue; }
  read -r seconds kilobytes < "$work/$step.time"
  printf '%-24s %10s %12d\n' "$step" "$seconds" $((kilobytes / 1024))
done
echo "work folder: $work"; uptime

echo "== peers (each stopped after $timeout_s s)"
peer() {
  local name="$1"; shift
  local start end
  start=$(date +%s)
  if timeout "$timeout_s" /usr/bin/time -f "%e s, peak %M KB" "$@" 2>&1 | tail -3; then :; else echo "$name: did not finish within $timeout_s s"; fi
  end=$(date +%s)
  echo "$name: $((end - start)) s wall"
}
peer "SciPy/numpy" /usr/bin/python3 - "$work/dart.txt" <<'PY'
import sys, time
import numpy as np
from scipy.cluster.hierarchy import linkage
from scipy.spatial.distance import pdist
t = time.perf_counter()
rows = [l.split() for l in open(sys.argv[1]) if l.strip() and not l.startswith(("[", "*", "AllData"))]
names, rows = rows[0], rows[1:]
scored = np.array([[c != "?" for c in r] for r in rows]).T
band = np.array([[c == "1" for c in r] for r in rows]).T
print(f"load {time.perf_counter() - t:.1f} s", flush=True)
t = time.perf_counter(); d = pdist(band, "jaccard"); print(f"pdist Jaccard {time.perf_counter() - t:.1f} s", flush=True)
t = time.perf_counter(); linkage(d, "weighted"); print(f"weighted linkage {time.perf_counter() - t:.1f} s", flush=True)
rng = np.random.default_rng(1)
t = time.perf_counter()
for _ in range(100):
    linkage(pdist(band[:, rng.integers(0, band.shape[1], band.shape[1])], "jaccard"), "weighted")
print(f"100 bootstrap trees {time.perf_counter() - t:.1f} s", flush=True)
from scipy.spatial.distance import squareform
t = time.perf_counter()
a = -0.5 * squareform(d) ** 2
b = a - a.mean(axis=0) - a.mean(axis=1)[:, None] + a.mean()
np.linalg.eigh(b)
print(f"PCoA (numpy eigh) {time.perf_counter() - t:.1f} s", flush=True)
PY
