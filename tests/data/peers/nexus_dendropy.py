# Reads a Nexus file with DendroPy and compares taxa, scores and distances with the expected
# values (a JSON file): {"datatype": "standard"|"restriction", "taxa": [...],
# "rows": ["01?", ...] (absence 0, presence 1, missing ?), "distances": [[d00], [d10, d11], ...] or null}.
# DendroPy shows symbols in upper case. It reads no DISTANCES block, so that block is read with DendroPy's Nexus tokenizer.
import json
import math
import sys
import warnings

import dendropy
from dendropy.dataio.nexusprocessing import NexusTokenizer

warnings.simplefilter("error")
warnings.simplefilter("ignore", ResourceWarning)
path, expected_path = sys.argv[1], sys.argv[2]
expected = json.load(open(expected_path))
# DendroPy's Nexus reader knows no RESTRICTION datatype of its own and reads such a matrix as
# standard data with the symbols 0 and 1.
matrix = dendropy.StandardCharacterMatrix.get(path=path, schema="nexus")
taxa = [taxon.label for taxon in matrix.taxon_namespace]
assert taxa == expected["taxa"], (taxa, expected["taxa"])
absence, presence = expected.get("symbols", "01")
for taxon, row in zip(matrix.taxon_namespace, expected["rows"]):
    states = matrix[taxon]
    read = ""
    for state in states:
        symbol = state.symbol.lower()
        read += "0" if symbol == absence else "1" if symbol == presence else "?"
    assert read == row, (taxon.label, read, row)

tokens = NexusTokenizer(open(path))
distances = None
previous = None
for token in tokens:
    if previous and previous.upper() == "BEGIN" and token.upper() == "DISTANCES":
        while token.upper() != "MATRIX":
            token = next(tokens)
        values = []
        for token in tokens:
            if token == ";":
                break
            values.append(None if token == "?" else float(token))
        distances = values
        break
    previous = token
want = expected["distances"]
if want is None:
    assert distances is None
else:
    flat = [value for row in want for value in row]
    assert len(flat) == len(distances), (len(flat), len(distances))
    for a, b in zip(flat, distances):
        assert (a is None and b is None) or abs(a - b) < 1e-9, (a, b)
print("dendropy read", len(taxa), "taxa")
