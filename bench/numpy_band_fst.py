# The numpy implementation of F_ST from band frequencies (tests/differentiation/band_fst_peer.py)
# on data of the benchmark's size, 20 populations x 50 individuals x 1000 loci, with 999
# permutations of the overall test (the pairs' tests left out), Bayesian estimator.
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

rng = np.random.default_rng(20)
rows = []
for p in range(20):
    frequency = rng.uniform(size=1000)
    cells = np.where(rng.uniform(size=(50, 1000)) < frequency, 1, 0)
    cells[rng.uniform(size=(50, 1000)) < 0.05] = 9
    rows.append(np.column_stack([np.full(50, p + 1), cells]))
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "populations.txt")
    np.savetxt(path, np.vstack(rows), fmt="%d")
    peer = os.path.join(os.path.dirname(__file__), "..", "tests", "differentiation", "band_fst_peer.py")
    start = time.perf_counter()
    subprocess.run([sys.executable, peer, path, "bayes", "0", "3", "999"], check=True, stdout=subprocess.DEVNULL)
    print(f"numpy F_ST 20 x 50 x 1000, 999 permutations of the overall test: {time.perf_counter() - start:.2f} s")
