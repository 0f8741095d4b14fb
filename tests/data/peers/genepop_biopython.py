# Reads a GenePop file with Biopython and checks the loci, the individuals and their genotypes:
# argv: FILE LOCI(comma-separated) NAMES(comma-separated) GENOTYPES (one string per individual,
# one character per locus: 1 present, 0 absent, ? missing) ABSENCE ("0200" or "0202").
import sys
import warnings

from Bio.PopGen import GenePop

warnings.simplefilter("error")
warnings.simplefilter("ignore", ResourceWarning)
path, loci, names, genotypes, absence = sys.argv[1:6]
record = GenePop.read(open(path))
assert record.loci_list == loci.split(","), record.loci_list
population = record.populations
assert len(population) == 1, len(population)
codes = {"1": (1, 0), "0": (2, 0) if absence == "0200" else (2, 2), "?": (0, 0)}
individuals = population[0]
assert [name for name, _ in individuals] == names.split(","), individuals
for (name, alleles), row in zip(individuals, genotypes.split(",")):
    want = [codes[c] for c in row]
    got = [tuple(0 if a is None else a for a in pair) for pair in alleles]
    assert got == want, (name, got, want)
print("biopython read", len(individuals), "individuals")
