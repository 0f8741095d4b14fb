#!/usr/bin/python3
"""Times SciPy's weighted linkage (the same unweighted-mean joining rule, without the joining of
ties in one step) on random distances for N = 500, 2000 and 5000, to compare with
BM_UpgmaRandom of vorn_bench run in the same session:

    /usr/bin/python3 bench/scipy_weighted_linkage.py && build/bench/vorn_bench --benchmark_filter=Upgma
"""
import statistics
import time

import numpy as np
from scipy.cluster.hierarchy import linkage

for n in (500, 2000, 5000):
    rng = np.random.default_rng(n)
    condensed = rng.random(n * (n - 1) // 2)
    wall, cpu = [], []
    for _ in range(5):
        start, startCpu = time.perf_counter(), time.process_time()
        linkage(condensed, method="weighted")
        wall.append(time.perf_counter() - start)
        cpu.append(time.process_time() - startCpu)
    print(f"scipy weighted linkage N={n}: wall median {statistics.median(wall) * 1000:.1f} ms "
          f"(min {min(wall) * 1000:.1f}, max {max(wall) * 1000:.1f}), "
          f"CPU median {statistics.median(cpu) * 1000:.1f} ms (min {min(cpu) * 1000:.1f}, max {max(cpu) * 1000:.1f}), 5 runs")
