#!/usr/bin/python3
"""Times SciPy's Jaccard distances (scipy.spatial.distance.pdist, metric='jaccard') on complete
boolean data of N individuals by 1000 loci, to hold against BM_StandardJaccardCompleteData.

Debian's python3-scipy is used: run it with /usr/bin/python3 (bench/run_similarity_bench.sh does).
Prints one line per N: the best and the median of the repetitions, in milliseconds."""
import statistics
import sys
import time

import numpy
from scipy.spatial.distance import pdist

LOCI = 1000


def main():
    sizes = [int(arg) for arg in sys.argv[1:]] or [500, 2000]
    random = numpy.random.default_rng(7)
    for n in sizes:
        data = random.random((n, LOCI)) < 0.5
        repetitions = 5 if n <= 500 else 3
        times = []
        for _ in range(repetitions):
            start = time.perf_counter()
            pdist(data, metric="jaccard")
            times.append((time.perf_counter() - start) * 1000)
        print(f"scipy pdist jaccard N={n} L={LOCI}: best {min(times):.1f} ms, median {statistics.median(times):.1f} ms "
              f"({repetitions} runs)")


if __name__ == "__main__":
    main()
