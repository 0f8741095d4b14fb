#!/usr/bin/env python3
"""The admixture model for dominant bands fitted by a plain EM loop in numpy: the peer of Vorn's
fit in bench/run_structure_bench.sh, on the same data, from the same start, to the same tolerance.

  numpy_admixture_em.py simulate N L K FOLDER   writes scores.txt (0 no band, 1 band, 2 missing),
                                                start_q.txt and start_r.txt, and the true q and r
                                                (true_q.txt, true_r.txt): F_ST 0.1, 10 % missing,
                                                with K > 1 a fifth of the individuals admixed
  numpy_admixture_em.py fit FOLDER TOLERANCE [truth]
                                                fits from the start (or from the true q and r) and
                                                prints time, steps, lnL and the mean absolute
                                                error of q against the true q, labels aligned
  numpy_admixture_em.py evaluate FOLDER LNL     ln L at vorn_q.txt and vorn_r.txt beside LNL
  numpy_admixture_em.py convert DART FOLDER K   the scores of a bench/make_dart_data.py file
                                                (individuals in columns, ? missing) with a start
"""
import itertools
import sys
import time

import numpy as np

BOUND = 1e-5


def simulate(n, loci, k, folder):
    rng = np.random.default_rng(20261209)
    fst = 0.1
    p = rng.uniform(0.2, 0.8, loci)
    r = rng.beta(p[:, None] * (1 - fst) / fst, (1 - p[:, None]) * (1 - fst) / fst, (loci, k))
    q = np.zeros((n, k))
    q[np.arange(n), np.arange(n) % k] = 1
    if k > 1:
        admixed = np.arange(n) % 5 == 4
        q[admixed] = 0
        q[admixed, np.arange(n)[admixed] % k] = 0.5
        q[admixed, (np.arange(n)[admixed] + 1) % k] = 0.5
    f = q @ r.T
    absent = rng.uniform(size=(n, loci)) < f * f
    scores = np.where(absent, 0, 1)
    scores[rng.uniform(size=(n, loci)) < 0.1] = 2
    np.savetxt(f"{folder}/scores.txt", scores, fmt="%d", delimiter="")
    start_q = rng.dirichlet(np.ones(k), n)
    start_r = rng.uniform(0.1, 0.9, (loci, k))
    np.savetxt(f"{folder}/start_q.txt", start_q, fmt="%.17g")
    np.savetxt(f"{folder}/start_r.txt", start_r, fmt="%.17g")
    np.savetxt(f"{folder}/true_q.txt", q, fmt="%.17g")
    np.savetxt(f"{folder}/true_r.txt", r, fmt="%.17g")


def read_scores(folder):
    return np.array([[int(c) for c in line.strip()] for line in open(f"{folder}/scores.txt")], dtype=np.int8)


def log_likelihood(scores, q, r):
    """ln L summed over the scored cells, at (q, r) as given."""
    f = q @ r.T
    scored = scores != 2
    return float(np.sum(np.where(scores == 1, np.log1p(-f * f), 2 * np.log(f))[scored]))


def aligned_error(q, truth):
    k = truth.shape[1]
    return min(np.mean(np.abs(q[:, list(perm)] - truth)) for perm in itertools.permutations(range(k)))


def bound(q, r):
    r = np.clip(r, BOUND, 1 - BOUND)
    q = np.maximum(q, BOUND)
    return q / q.sum(axis=1, keepdims=True), r


def em_step(scores, q, r):
    """One EM step over the origin and allele of each gene copy; lnL at (q, r)."""
    scored = scores != 2
    band = scores == 1
    f = np.clip(q @ r.T, 1e-300, 1 - 1e-16)  # n x loci
    log_l = np.sum(np.where(band, np.log1p(-f * f), 2 * np.log(f))[scored])
    no_band_weight = np.where(scored, np.where(band, 2 / (1 + f), 2 / f), 0)
    band_weight = np.where(scored & band, 2 / (1 - f * f), 0)
    # Expected copies of individual i from cluster k: q_ik sum_l (r_lk a_il + (1 - r_lk) b_il).
    from_cluster = q * (no_band_weight @ r + band_weight @ (1 - r))
    new_q = from_cluster / (2 * scored.sum(axis=1, keepdims=True))
    no_band = r * (no_band_weight.T @ q)
    copies = no_band + (1 - r) * (band_weight.T @ q)
    new_r = np.where(copies > 0, no_band / np.maximum(copies, 1e-300), r)
    new_q, new_r = bound(new_q, new_r)
    return new_q, new_r, log_l


def fit(folder, tolerance, start="start"):
    scores = read_scores(folder)
    q, r = bound(np.loadtxt(f"{folder}/{start}_q.txt", ndmin=2), np.loadtxt(f"{folder}/{start}_r.txt", ndmin=2))
    begin = time.perf_counter()
    previous = -np.inf
    steps = 0
    while True:
        new_q, new_r, log_l = em_step(scores, q, r)
        steps += 1
        if log_l - previous < tolerance or steps >= 100000:
            break
        previous, q, r = log_l, new_q, new_r
    seconds = time.perf_counter() - begin
    error = aligned_error(q, np.loadtxt(f"{folder}/true_q.txt", ndmin=2))
    print(f"numpy plain EM from the {start} values: {seconds:.3f} s, {steps} EM steps, lnL {log_l:.6f}, "
          f"mean |q - true q| {error:.6f}")


def convert(path, folder, k):
    rows = []
    for line in open(path).readlines()[1:]:
        if line.startswith("*"):
            break
        rows.append([2 if c == "?" else int(c) for c in line.split()])
    scores = np.array(rows, dtype=np.int8).T
    np.savetxt(f"{folder}/scores.txt", scores, fmt="%d", delimiter="")
    rng = np.random.default_rng(20261209)
    np.savetxt(f"{folder}/start_q.txt", rng.dirichlet(np.ones(k), scores.shape[0]), fmt="%.17g")
    np.savetxt(f"{folder}/start_r.txt", rng.uniform(0.1, 0.9, (scores.shape[1], k)), fmt="%.17g")


def evaluate(folder, printed):
    scores = read_scores(folder)
    value = log_likelihood(scores, np.loadtxt(f"{folder}/vorn_q.txt", ndmin=2), np.loadtxt(f"{folder}/vorn_r.txt", ndmin=2))
    print(f"numpy ln L at Vorn's q and r: {value:.6f}, Vorn printed {printed:.6f}, relative difference "
          f"{abs(value - printed) / abs(value):.2e}")


if __name__ == "__main__":
    if sys.argv[1] == "simulate":
        simulate(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    elif sys.argv[1] == "convert":
        convert(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    elif sys.argv[1] == "evaluate":
        evaluate(sys.argv[2], float(sys.argv[3]))
    else:
        fit(sys.argv[2], float(sys.argv[3]), "true" if len(sys.argv) > 4 else "start")
