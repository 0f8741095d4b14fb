"""The peer of the missing data map's aggregation: the same 5000 x 20000 matrix (a fifth missing)
reduced to the share of missing scores in each pixel of a 950 x 500 grid with numpy
(np.add.reduceat over the rows' and the columns' blocks), timed like the benchmark.
Run: /usr/bin/python3 bench/numpy_missing_map.py"""
import time

import numpy as np

rng = np.random.default_rng(3)
missing = rng.integers(0, 10, size=(5000, 20000), dtype=np.uint8) < 2
rows = (np.arange(500) * 5000 + 499) // 500
columns = (np.arange(950) * 20000 + 949) // 950
best = float("inf")
for _ in range(5):
    start = time.perf_counter()
    counts = np.add.reduceat(np.add.reduceat(missing.astype(np.uint32), rows, axis=0), columns, axis=1)
    sizes = np.outer(np.diff(np.append(rows, 5000)), np.diff(np.append(columns, 20000)))
    shares = counts / sizes
    best = min(best, time.perf_counter() - start)
print(f"numpy block mean 5000x20000 -> 950x500: {best * 1000:.0f} ms (best of 5), mean share {shares.mean():.3f}")
