#!/usr/bin/env python3
"""The split weights of a circular order held against their exact least squares.

Reads a file of three lines: n; the pair distances (at StrictPairIndex(b, a), a < b); the
weights of the n (n - 1) / 2 circular splits (at StrictPairIndex(j, i) for split i + 1 .. j),
each number as C's "%La" prints an 80-bit value. Solves the least squares of the splits of
positive weight in rational arithmetic and prints, a line each ("key<TAB>value"):
  largest_ulps   the largest error of a weight, in units in the last place (2^-63 of the binade)
                 of the largest weight
  held_gradient  the largest A^T (d - A w) of a split of weight 0 at the exact solution, over the
                 largest entry of A^T d (at most 0 when those splits are rightly held)
    python3 split_weights_exact.py WEIGHTS
"""
import sys
from fractions import Fraction


def parse(text):
    """A "%La" number (0xh.hhhp+e) as an exact fraction."""
    sign = -1 if text.startswith("-") else 1
    mantissa, exponent = text.lstrip("-")[2:].split("p")
    whole, _, fraction = mantissa.partition(".")
    digits = whole + fraction
    value = Fraction(int(digits, 16), 16 ** len(fraction)) if digits else Fraction(0)
    return sign * value * Fraction(2) ** int(exponent)


def pair_index(b, a):
    return b * (b - 1) // 2 + a


def main():
    lines = open(sys.argv[1]).read().split("\n")
    n = int(lines[0])
    d = [parse(t) for t in lines[1].split()]
    w = [parse(t) for t in lines[2].split()]
    splits = {pair_index(j, i): (i, j) for j in range(1, n) for i in range(j)}
    pairs = [(a, b) for b in range(1, n) for a in range(b)]

    def separates(split, a, b):
        i, j = splits[split]
        return (i < a <= j) != (i < b <= j)

    design = {k: [1 if separates(k, a, b) else 0 for (a, b) in pairs] for k in splits}
    free = [k for k in range(len(w)) if w[k] > 0]
    target = [d[pair_index(b, a)] for (a, b) in pairs]
    m = len(free)
    # The normal equations of the free splits, by Gaussian elimination in fractions.
    rows = [[Fraction(sum(x * y for x, y in zip(design[s], design[t]))) for t in free] +
            [sum(x * y for x, y in zip(design[s], target))] for s in free]
    for c in range(m):
        pivot = next(r for r in range(c, m) if rows[r][c] != 0)
        rows[c], rows[pivot] = rows[pivot], rows[c]
        for r in range(c + 1, m):
            f = rows[r][c] / rows[c][c]
            if f:
                rows[r] = [x - f * y for x, y in zip(rows[r], rows[c])]
    exact = [Fraction(0)] * m
    for c in reversed(range(m)):
        exact[c] = (rows[c][m] - sum(rows[c][t] * exact[t] for t in range(c + 1, m))) / rows[c][c]
    largest = max(abs(v) for v in exact)
    binade = Fraction(1)
    while binade * 2 <= largest:
        binade *= 2
    while binade > largest:
        binade /= 2
    ulp = binade * Fraction(2) ** -63
    print("largest_ulps\t%.6g" % float(max(abs(w[k] - exact[s]) for s, k in enumerate(free)) / ulp))
    fitted = [sum(design[k][p] * exact[s] for s, k in enumerate(free)) for p in range(len(pairs))]
    residual = [t - f for t, f in zip(target, fitted)]
    scale = max(abs(sum(x * y for x, y in zip(design[k], target))) for k in splits)
    held = [k for k in splits if w[k] <= 0]
    gradient = max((sum(x * y for x, y in zip(design[k], residual)) for k in held), default=Fraction(0))
    print("held_gradient\t%.6g" % float(gradient / scale))


if __name__ == "__main__":
    main()
