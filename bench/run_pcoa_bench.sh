#!/usr/bin/env bash
# Times the principal coordinate analysis beside its peers in one go:
#   bench/run_pcoa_bench.sh [sizes...]     (default 200 500 1000 2000)
# The Jacobi rotations run for the sizes given, the two LAPACK solvers (divide and conquer /1,
# relatively robust representations /2) for those of 1000 or more (FAST_SIZES, default 1000 2000
# 5000; empty for none), each beside numpy's eigh of the same size. OLD=path/to/vorn_bench runs an earlier build's rotations first, for the same sizes.
# Builds a Release tree with the benchmarks in build-bench/; the peers run with Debian's
# /usr/bin/python3 (python3-numpy, and python3-skbio when installed).
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("${@:-200 500 1000 2000}")
sizes=(${sizes[*]})

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCHMARKS=ON > /dev/null
cmake --build build-bench --target vorn_bench

fast=(${FAST_SIZES-1000 2000 5000})
uptime
if ((${#fast[@]})); then
  echo "== Vorn, LAPACK solvers (/1 divide and conquer, /2 relatively robust representations)"
  build-bench/bench/vorn_bench --benchmark_filter="BM_PrincipalCoordinatesFast/($(IFS='|'; echo "${fast[*]}"))/"
  echo "== numpy / scikit-bio, the same sizes"
  /usr/bin/python3 bench/numpy_pcoa.py "${fast[@]}"
fi
jacobi="BM_PrincipalCoordinates/($(IFS='|'; echo "${sizes[*]}"))/"
if [[ -n "${OLD:-}" ]]; then
  echo "== Vorn, Jacobi, earlier build ($OLD)"
  "$OLD" --benchmark_filter="$jacobi"
fi
echo "== Vorn, Jacobi"
build-bench/bench/vorn_bench --benchmark_filter="$jacobi"
echo "== numpy / scikit-bio"
/usr/bin/python3 bench/numpy_pcoa.py "${sizes[@]}"
uptime
