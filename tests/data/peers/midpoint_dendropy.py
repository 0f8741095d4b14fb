# Roots each tree of a file of Newick trees (one per line) at its midpoint with DendroPy's
# Tree.reroot_at_midpoint and prints the rooted trees, one per line, lengths to 17 digits.
import sys

import dendropy

for line in open(sys.argv[1]):
    tree = dendropy.Tree.get(data=line, schema="newick", preserve_underscores=True, rooting="force-unrooted")
    tree.reroot_at_midpoint()
    print(tree.as_string(schema="newick", suppress_rooting=True, real_value_format_specifier=".17g").strip())
