# Reads a STANDARD Nexus file with Biopython's Nexus reader and compares taxa and scores with the
# expected values (the JSON of nexus_dendropy.py).
import json
import sys
import warnings

from Bio.Nexus import Nexus

warnings.simplefilter("error")
warnings.simplefilter("ignore", ResourceWarning)
path, expected_path = sys.argv[1], sys.argv[2]
expected = json.load(open(expected_path))
nexus = Nexus.Nexus(path)
taxa = [label.strip("'").replace("''", "'") for label in nexus.taxlabels]
assert taxa == expected["taxa"], (taxa, expected["taxa"])
absence, presence = expected.get("symbols", "01")
for label, row in zip(nexus.taxlabels, expected["rows"]):
    read = "".join("0" if s == absence.lower() or s == absence else "1" if s in (presence, presence.lower()) else "?"
                   for s in str(nexus.matrix[label]))
    assert read == row, (label, read, row)
print("biopython read", len(taxa), "taxa")
