# Principal coordinates by numpy's exact symmetric eigen solver, for comparison with the Jacobi
# rotations: reads a square distance matrix (one row per line), writes the eigenvalues in
# descending order on the first line, then one line of coordinates per individual, each
# eigenvector's first component made non-negative.
import sys

import numpy as np

d = np.loadtxt(sys.argv[1], ndmin=2)
n = d.shape[0]
a = -0.5 * d * d
j = np.eye(n) - np.full((n, n), 1.0 / n)
values, vectors = np.linalg.eigh(j @ a @ j)
order = np.argsort(values)[::-1]
values, vectors = values[order], vectors[:, order]
vectors[:, vectors[0] < 0] *= -1
coordinates = vectors * np.sqrt(np.clip(values, 0, None))
with open(sys.argv[2], "w") as out:
    out.write(" ".join(repr(float(x)) for x in values) + "\n")
    for row in coordinates:
        out.write(" ".join(repr(float(x)) for x in row) + "\n")
