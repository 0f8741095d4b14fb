"""The peer of the spatial autocorrelation benchmark: Smouse & Peakall's r of 1000 individuals
(200 loci, planar coordinates) in 10 classes of even width with 999 permutations of the
locations and 999 bootstraps of the pairs within each class, with numpy (the permuted
covariance matrix gathered whole, class sums by np.bincount; numpy's own generator), timed
like the benchmark. Run: /usr/bin/python3 bench/numpy_spatial.py"""
import time

import numpy as np

rng = np.random.default_rng(3)
n, loci, classes, permutations, bootstraps = 1000, 200, 10, 999, 999
points = rng.uniform(0, 1000, size=(n, 2))
bands = (rng.uniform(size=(n, loci)) < 0.3 + 0.4 * points[:, :1] / 1000).astype(np.int8)
start = time.perf_counter()
d = (bands[:, None, :] != bands[None, :, :]).sum(axis=2).astype(float)
g = np.hypot(points[:, None, 0] - points[None, :, 0], points[:, None, 1] - points[None, :, 1])
lower = np.tril_indices(n, -1)
distances = g[lower]
upper = g.max() * np.arange(1, classes + 1) / classes
upper[-1] = distances.max()
cls = np.searchsorted(upper, distances, side="left")
c = -0.5 * (d - d.mean(axis=1)[:, None] - d.mean(axis=0)[None, :] + d.mean())
diagonal = np.diag(c)


def correlations(order):
    permuted = c[np.ix_(order, order)][lower]
    both = diagonal[order][lower[0]] + diagonal[order][lower[1]]
    return 2 * np.bincount(cls, permuted, classes) / np.bincount(cls, both, classes)


r = correlations(np.arange(n))
null = np.array([correlations(rng.permutation(n)) for _ in range(permutations)])
terms = c[lower]
ends = diagonal[lower[0]] + diagonal[lower[1]]
boot = np.empty((bootstraps, classes))
for h in range(classes):
    members = np.flatnonzero(cls == h)
    for b in range(bootstraps):
        drawn = members[rng.integers(0, len(members), len(members))]
        boot[b, h] = 2 * terms[drawn].sum() / ends[drawn].sum()
p = ((null >= r) .sum(axis=0) + 1) / (permutations + 1)
elapsed = time.perf_counter() - start
print(f"numpy spatial autocorrelation, 1000 individuals, 10 classes, 999 permutations + 999 bootstraps: "
      f"{elapsed:.1f} s; r of class 1 {r[0]:.4f}, p {p[0]:.3f}")
