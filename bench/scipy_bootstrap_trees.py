#!/usr/bin/python3
"""SciPy's counterpart of the bootstrap Std. trees: B replicates of the loci of a data file in
Vorn's default layout (individuals in columns, names on the first line, '?' missing), each
with Jaccard distances (pdist), weighted linkage (the same unweighted-mean joining rule),
to_tree, and one Newick line appended to a tree file. SciPy has no missing scores: a missing
score counts as an absence. Reading the file is not timed; writing the trees is.

    /usr/bin/python3 bench/scipy_bootstrap_trees.py data.txt B out.ph
Prints the seconds of the B replicates (Debian's python3-scipy)."""
import sys
import time

import numpy
from scipy.cluster.hierarchy import linkage, to_tree
from scipy.spatial.distance import pdist


def read(path):
    with open(path) as source:
        lines = [line.split() for line in source if line.strip() and not line.startswith("{")]
    names = lines[0]
    rows = [row for row in lines[1:] if row != ["*"]]
    return names, (numpy.array(rows) == "1").T  # individuals x loci


def newick(node, names, parent_height, label=""):
    if node.is_leaf():
        return f"{names[node.id]}:{parent_height:.9f}"
    height = node.dist / 2
    text = f"({newick(node.left, names, height)}, {newick(node.right, names, height)})"
    return text + (label if label else f":{parent_height - height:.9f}")


def main():
    path, replicates, output = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    names, data = read(path)
    random = numpy.random.default_rng(1)
    loci = data.shape[1]
    sys.setrecursionlimit(10000)
    start = time.perf_counter()
    with open(output, "w") as out:
        for e in range(1, replicates + 1):
            sample = data[:, random.integers(0, loci, loci)]
            root = to_tree(linkage(pdist(sample, metric="jaccard"), method="weighted"))
            out.write(newick(root, names, 0, f"BSJaccard{e}") + ";\n")
    print(f"{time.perf_counter() - start:.3f}")


main()
