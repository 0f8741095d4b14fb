"""Reads the import benchmark's CSV table (2000 samples by 10000 loci, NA for missing) with
numpy, the peer of BM_ImportCsvTable: names and populations as text, the scores as 0, 1 and 9.
Run after the benchmark wrote /tmp/vorn-import-bench-table.csv."""
import time

import numpy as np

PATH = "/tmp/vorn-import-bench-table.csv"

start = time.perf_counter()
with open(PATH, encoding="utf-8") as table:
    header = table.readline()
    rows = [line.rstrip("\r\n").split(",") for line in table]
names = [row[0].strip('"') for row in rows]
populations = [row[1].strip('"') for row in rows]
scores = np.array([row[2:] for row in rows])
matrix = np.where(scores == "NA", 9, scores == "1").astype(np.uint8).T.copy()
elapsed = time.perf_counter() - start
print(f"numpy (split and compare): {matrix.shape[1]} samples x {matrix.shape[0]} loci in {elapsed * 1000:.0f} ms")
