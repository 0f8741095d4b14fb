# F_ST from band frequencies written anew from the manual's formulas with numpy, for the tests
# and the benchmark. Input: one individual per line, its population (1, 2, ...) then its scores
# (0, 1, 9 for missing). Arguments: the file, the method (sqrt, lm, bayes, uniform), F_IS, the
# absence threshold, and optionally a number of permutations (timed by the benchmark; the p it
# prints draws its own random numbers, not the program's).
import math
import sys

import numpy as np


def prior_of(n, k):
    ok = n > 0
    if ok.sum() < 2:
        return 0.5, 1.0
    x = k[ok] / n[ok]
    m, mean_n = x.mean(), n[ok].mean()
    if m <= 0 or m >= 1 or mean_n <= 1:
        return 0.5, 1.0
    rho = (x.var(ddof=1) / (m * (1 - m)) - 1 / mean_n) / (1 - 1 / mean_n)
    if not (0 < rho < 1):
        return 0.5, 1.0
    total = 1 / rho - 1
    return m * total, (1 - m) * total


def estimate(method, fis, absences, prior, n, k):
    """q, Var(q) and whether estimable, per locus, from scored counts n and absences k."""
    n = n.astype(float)
    k = k.astype(float)
    ok = n > 0
    if method == "lm":
        ok &= k > absences
    with np.errstate(divide="ignore", invalid="ignore"):
        x = k / n
        if method == "lm":
            vx = x * (1 - x) / n
            q = np.sqrt(x) / (1 - vx / (8 * x * x))
            v = (1 - x) / (4 * n)
        elif method in ("bayes", "uniform"):
            a0, b0 = prior
            a, b = k + a0, n - k + b0
            lg = np.vectorize(math.lgamma)
            q = np.exp(lg(a + 0.5) + lg(a + b) - lg(a) - lg(a + b + 0.5))
            v = a / (a + b) - q * q
        elif fis == 0:
            q, v = np.sqrt(x), (1 - x) / (4 * n)
        else:
            root = np.sqrt(fis * fis + 4 * (1 - fis) * x)
            q, v = (root - fis) / (2 * (1 - fis)), x * (1 - x) / (n * root * root)
    return q, v, ok


def fst(scores, pops, members, method, fis, absences, priors):
    qs, vs, oks = [], [], []
    for j in members:
        block = scores[pops == j]
        n = (block != 9).sum(axis=0)
        k = (block == 0).sum(axis=0)
        q, v, ok = estimate(method, fis, absences, priors[j], n, k)
        qs.append(q), vs.append(v), oks.append(ok)
    q, v = np.array(qs), np.array(vs)
    use = np.all(np.array(oks), axis=0)
    q, v = q[:, use], v[:, use]
    P = len(members)
    hj = 2 * q * (1 - q) + 2 * v
    hw_l = hj.mean(axis=0)
    hb_l = 2 * q.var(axis=0, ddof=1) - 2 * v.mean(axis=0)
    hw, hb = hw_l.mean(), hb_l.mean()
    return hj, hw_l, hb_l, hw, hb


def main():
    path, method, fis, absences = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
    permutations = int(sys.argv[5]) if len(sys.argv) > 5 else 0
    rows = np.loadtxt(path, dtype=np.int64, ndmin=2)
    pops, scores = rows[:, 0], rows[:, 1:]
    members = sorted(set(pops.tolist()))
    priors = {}
    for j in members:
        block = scores[pops == j]
        priors[j] = prior_of((block != 9).sum(axis=0), (block == 0).sum(axis=0)) if method == "bayes" else (0.5, 1.0)
    hj, hw_l, hb_l, hw, hb = fst(scores, pops, members, method, fis, absences, priors)
    L = len(hw_l)
    for j, row in zip(members, hj):
        se = row.std(ddof=1) / math.sqrt(L)
        print("pop", j, f"{row.mean():.17g}", f"{se:.17g}", f"{priors[j][0]:.17g}", f"{priors[j][1]:.17g}")
    sums_b, sums_w = hb_l.sum(), hw_l.sum()
    pseudo = (sums_b - hb_l) / (sums_w - hw_l + sums_b - hb_l)
    se = math.sqrt((L - 1) / L * ((pseudo - pseudo.mean()) ** 2).sum())
    print("all", f"{hw:.17g}", f"{hb:.17g}", f"{hw + hb:.17g}", f"{hb / (hw + hb):.17g}", f"{se:.17g}", L)
    for a in range(1, len(members)):
        for b in range(a):
            _, _, _, phw, phb = fst(scores, pops, [members[b], members[a]], method, fis, absences, priors)
            print("pair", a + 1, b + 1, f"{phw:.17g}", f"{phb:.17g}", f"{phb / (phw + phb):.17g}")
    if permutations:
        rng = np.random.default_rng(1)
        observed, at_least = hb / (hw + hb), 0
        for _ in range(permutations):
            shuffled = rng.permutation(pops)
            _, _, _, phw, phb = fst(scores, shuffled, members, method, fis, absences, priors)
            at_least += phb / (phw + phb) >= observed - 1e-10
        print("p", (at_least + 1) / (permutations + 1))


if __name__ == "__main__":
    main()
