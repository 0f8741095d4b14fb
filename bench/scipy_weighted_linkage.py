#!/usr/bin/env python3
"""Times SciPy's weighted linkage (the same unweighted-mean joining rule, without the joining of
ties in one step) on random distances for N = 500, 2000 and 5000, to compare with
BM_UpgmaRandom of vorn_bench run in the same session:

    python3 bench/scipy_weighted_linkage.py && build/bench/vorn_bench --benchmark_filter=Upgma
"""
import statistics
import time

import numpy as np
from scipy.cluster.hierarchy import linkage

for n in (500, 2000, 5000):
    rng = np.random.default_rng(n)
    condensed = rng.random(n * (n - 1) // 2)
    times = []
    for _ in range(5):
        start = time.perf_counter()
        linkage(condensed, method="weighted")
        times.append(time.perf_counter() - start)
    print(f"scipy weighted linkage N={n}: median {statistics.median(times) * 1000:.1f} ms, "
          f"min {min(times) * 1000:.1f} ms, max {max(times) * 1000:.1f} ms (5 runs)")
