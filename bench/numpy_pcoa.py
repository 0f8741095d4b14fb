# The peers of BM_PrincipalCoordinates: numpy's eigh of the Gower-centred matrix, and
# scikit-bio's pcoa when it is installed (Debian python3-skbio), on Standard Jaccard distances
# of the same kind (N individuals by 500 loci, 10% missing, missing scores left out per pair).
#   /usr/bin/python3 bench/numpy_pcoa.py 200 500 1000 2000
import sys
import time

import numpy as np

try:
    from skbio import DistanceMatrix
    from skbio.stats.ordination import pcoa
except ImportError:
    pcoa = None


def jaccard(n, loci=500, seed=7):
    rng = np.random.default_rng(seed)
    scored = rng.random((n, loci)) >= 0.1
    band = (rng.random((n, loci)) < 0.5) & scored
    s, b = scored.astype(np.float64), band.astype(np.float64)
    both = s @ s.T
    shared = b @ b.T
    either = b @ s.T + s @ b.T - shared  # bands present in either, where both are scored
    with np.errstate(invalid="ignore", divide="ignore"):
        d = 1 - np.where(either > 0, shared / either, 0)
    np.fill_diagonal(d, 0)
    return d


def centred_eigh(d):
    n = d.shape[0]
    a = -0.5 * d * d
    b = a - a.mean(axis=0) - a.mean(axis=1)[:, None] + a.mean()
    values, vectors = np.linalg.eigh(b)
    return values[::-1], vectors[:, ::-1]


for n in map(int, sys.argv[1:] or ["200", "500", "1000", "2000"]):
    d = jaccard(n)
    start = time.perf_counter()
    centred_eigh(d)
    line = f"N = {n}: numpy eigh of the centred matrix {1000 * (time.perf_counter() - start):.0f} ms"
    if pcoa is not None:
        matrix = DistanceMatrix(d)
        start = time.perf_counter()
        pcoa(matrix)
        line += f", scikit-bio pcoa {1000 * (time.perf_counter() - start):.0f} ms"
    else:
        line += " (scikit-bio not installed: Debian python3-skbio)"
    print(line, flush=True)
