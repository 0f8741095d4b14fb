# Writes a DArT-like presence/absence file: N individuals (columns) x L loci, 5 % missing, three
# populations of equal size with their own band frequencies (so that the AMOVA finds structure),
# and their groups; with a fourth argument also a coordinates file (name,x,y), the populations
# side by side, for the Mantel test.
#   python3 bench/make_dart_data.py data.txt individuals loci [coordinates.csv]
import random, sys

path, n, loci = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(5)
names = [f"I{i:05d}" for i in range(n)]
population = [i * 3 // n for i in range(n)]
frequency = [[min(0.95, max(0.05, random.gauss(0.4, 0.15) + 0.1 * p)) for p in range(3)] for _ in range(loci)]
with open(path, "w") as out:
    out.write(" ".join(names) + "\n")
    for l in range(loci):
        f = frequency[l]
        out.write(" ".join("?" if random.random() < 0.05 else ("1" if random.random() < f[population[i]] else "0")
                           for i in range(n)) + "\n")
    out.write("*\n\n[Groups]\n")
    for p, name in enumerate(("North", "South", "East")):
        out.write(f"AllData/{name}= " + ", ".join(names[i] for i in range(n) if population[i] == p) + ";\n")
    out.write("*\n")
if len(sys.argv) > 4:
    place = random.Random(7)
    with open(sys.argv[4], "w") as out:
        out.write("name,x,y\n")
        for i in range(n):
            out.write(f"{names[i]},{population[i] * 10 + place.random():.4f},{place.random() * 5:.4f}\n")
