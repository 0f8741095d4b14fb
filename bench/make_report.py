# Writes a presence/absence report as genotyping services deliver it: two top rows of "*" over
# the seven metric columns, the header (CloneID, AlleleSequence, CallRate, OneRatio, PIC,
# AvgReadDepth, Reproducibility, the individuals), then one row per marker with 0, 1 and "-"
# (5 % missing). The score rows are drawn from a pool, so that a large file is written fast.
#   python3 bench/make_report.py report.csv individuals markers
import random, sys

path, n, markers = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(3)
pool = []
for _ in range(256):
    frequency = random.uniform(0.05, 0.95)
    pool.append(",".join("-" if random.random() < 0.05 else ("1" if random.random() < frequency else "0")
                         for _ in range(n)))
with open(path, "w", newline="") as out:
    metrics = ["CloneID", "AlleleSequence", "CallRate", "OneRatio", "PIC", "AvgReadDepth", "Reproducibility"]
    out.write(",".join(["*"] * len(metrics)) + ",plate1" * n + "\r\n")
    out.write(",".join(["*"] * len(metrics)) + "".join(f",A{i % 96:02d}" for i in range(n)) + "\r\n")
    out.write(",".join(metrics) + "".join(f",S{i + 1:05d}" for i in range(n)) + "\r\n")
    for m in range(markers):
        out.write(f"{1000000 + m * 7},TGCAG{''.join(random.choice('ACGT') for _ in range(20))},"
                  f"{random.uniform(0.8, 1):.6f},{random.uniform(0, 1):.6f},{random.uniform(0, 0.5):.6f},"
                  f"{random.uniform(3, 40):.3f},{random.uniform(0.95, 1):.4f},{random.choice(pool)}\r\n")
