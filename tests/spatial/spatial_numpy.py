"""Smouse & Peakall's spatial autocorrelation written anew with numpy, for the oracle test:
the covariance matrix from the squared distances of the bands, the connection matrix of each
distance class, r = sum_{i != j} x_ij c_ij / sum_i x_i. c_ii; permuted locations, pairs
bootstrapped within classes and omega, drawing from the program's generator (S := S * 134775813
+ 1 mod 2^32, NextBelow(n) = S * n >> 32) in the documented order, one serial loop.
Input (argument 1): "n loci kind permutations bootstraps seed rule count", then per individual
"first second scores..." (0, 1, 9 missing). Prints per class: pairs, mean distance, r, p, the
null band, the bootstrap interval; then omega, its p and the generator's state."""
import math
import sys

import numpy as np


class Generator:
    def __init__(self, state):
        self.state = state

    def below(self, n):
        self.state = (self.state * 134775813 + 1) & 0xFFFFFFFF
        return (self.state * n) >> 32


def geographic(points, kind):
    if kind == "planar":
        return np.hypot(points[:, None, 0] - points[None, :, 0], points[:, None, 1] - points[None, :, 1])
    phi, lam = np.radians(points[:, 0]), np.radians(points[:, 1])
    h = np.sin((phi[None, :] - phi[:, None]) / 2) ** 2 + np.cos(phi[:, None]) * np.cos(phi[None, :]) * np.sin(
        (lam[None, :] - lam[:, None]) / 2) ** 2
    return 2 * 6371.0088 * np.arcsin(np.sqrt(np.clip(h, 0, 1)))


def percentiles(values):
    v = np.sort(values[~np.isnan(values)])
    c = len(v)
    return v[int(math.floor(0.025 * c))], v[int(math.ceil(0.975 * c)) - 1]


def correlations(c, connections):
    return np.array([(x * c).sum() / (x.sum(axis=1) * np.diag(c)).sum() for x in connections])


def main():
    lines = open(sys.argv[1]).read().split("\n")
    n, loci, kind, permutations, bootstraps, seed, rule, count = lines[0].split()
    n, loci, permutations, bootstraps, seed, count = map(int, (n, loci, permutations, bootstraps, seed, count))
    rows = [line.split() for line in lines[1:1 + n]]
    points = np.array([[float(r[0]), float(r[1])] for r in rows])
    scores = np.array([[int(s) for s in r[2:]] for r in rows])
    scored = scores != 9
    both = scored[:, None, :] & scored[None, :, :]
    d = (both & (scores[:, None, :] != scores[None, :, :])).sum(axis=2).astype(float)
    g = geographic(points, kind)
    lower = np.tril_indices(n, -1)
    pair_distances = g[lower[0], lower[1]]
    m = len(pair_distances)
    if rule == "even_widths":
        upper = [g.max() * (h + 1) / count for h in range(count)]
    else:
        s = np.sort(pair_distances)
        upper = [s[max(1, ((h + 1) * m + count // 2) // count) - 1] for h in range(count)]
    upper[-1] = pair_distances.max()
    classes = np.full((n, n), -1)
    for k in range(m):
        h = int(np.searchsorted(upper, pair_distances[k], side="left"))
        classes[lower[0][k], lower[1][k]] = classes[lower[1][k], lower[0][k]] = h
    connections = [(classes == h).astype(float) for h in range(count)]
    c = -0.5 * (d - d.mean(axis=1)[:, None] - d.mean(axis=0)[None, :] + d.mean())
    r = correlations(c, connections)

    random = Generator(seed)
    permuted = np.empty((permutations, count))
    for k in range(permutations):
        order = list(range(n))
        for i in range(n, 1, -1):
            j = random.below(i)
            order[i - 1], order[j] = order[j], order[i - 1]
        permuted[k] = correlations(c[np.ix_(order, order)], connections)
    boot = np.empty((bootstraps, count))
    pairs = [[(i, j) for i in range(1, n) for j in range(i) if classes[i, j] == h] for h in range(count)]
    for b in range(bootstraps):
        for h in range(count):
            size = len(pairs[h])
            drawn = [pairs[h][random.below(size)] for _ in range(size)]
            boot[b, h] = 2 * sum(c[i, j] for i, j in drawn) / sum(c[i, i] + c[j, j] for i, j in drawn)
    omega, omegas = 0.0, np.zeros(permutations)
    for h in range(count):
        sign = 1.0 if r[h] >= 0 else -1.0
        keys = np.sort(sign * np.append(r[h], permuted[:, h]))
        share = lambda v: (keys >= v - 1e-10).sum() / (permutations + 1)
        p = share(sign * r[h])
        omega += -2 * math.log(p)
        omegas += np.array([-2 * math.log(share(sign * v)) for v in permuted[:, h]])
        low, high = percentiles(permuted[:, h])
        boot_low, boot_high = percentiles(boot[:, h])
        mean = pair_distances[[classes[i, j] == h for i, j in zip(*lower)]].mean()
        print(len(pairs[h]), repr(mean), repr(r[h]), repr(p), repr(low), repr(high), repr(boot_low), repr(boot_high))
    p_omega = ((omegas >= omega - 1e-10 * max(1.0, omega)).sum() + 1) / (permutations + 1)
    print(repr(omega), repr(p_omega), random.state)


main()
