# The circular order of NeighborNet (Bryant & Moulton 2004, Mol. Biol. Evol. 21: 255-265) done
# slowly in exact rational arithmetic, as the paper states it, for the tests to hold the
# program's agglomeration against:
#   python3 neighbor_net_order.py MATRIX [trace | circles]
# MATRIX is a comma-separated square matrix with the names on the first line; each entry is read
# as the double it denotes and then kept as an exact fraction, so that no choice depends on
# rounding. Prints "order" and the individuals (from 1) round the circle, then "ties" and the
# count of choices shared by pairs of exactly equal Q beyond those the formula makes.
#   trace    one line per join before them: "join", the number of clusters m, the two chosen
#            clusters' paths (individuals from 1), the chosen nodes (0 front, 1 back of each), the
#            gap from the smallest Q to the next larger one relative to the magnitudes that enter
#            Q, for the clusters and for the nodes ("-" where there is no other value);
#   circles  instead: "order" as above (the first of tied pairs taken), then "circle1",
#            "circle2", ... and an order for every circle that some resolution of the ties the
#            formula makes gives (see below), each circle once.
# Clusters are kept in row order: the merged cluster takes the place of the earlier of the two
# and the later leaves; of tied pairs the first in row order is taken (rows i = 1 .. m - 1, in
# each j = 0 .. i - 1), of tied node pairs the first with x from the earlier cluster's front then
# back and y likewise. The formula itself makes ties that no data can break: of three clusters,
# Q(C, D) = -(d(C, D) + d(C, E) + d(D, E)) for every pair; of four, Q(C, D) = Q(E, F) for the
# two complementary pairs. Which of them is joined changes the circle in general.
import sys
from fractions import Fraction


def read_matrix(path):
    with open(path) as f:
        lines = [line.strip() for line in f if line.strip()]
    n = len(lines[0].split(","))
    d = {}
    for i, line in enumerate(lines[1:]):
        for j, cell in enumerate(line.split(",")):
            if i != j:
                d[(i, j)] = Fraction(float(cell))
    return n, d


class Agglomeration:
    def __init__(self, n, distances):
        self.dist = dict(distances)
        # A cluster: its end nodes (one, or front and back), its path of individuals front to back.
        self.clusters = [([i], [i]) for i in range(n)]
        self.next_node = n
        self.ties = 0

    def copy(self):
        other = Agglomeration(0, self.dist)
        other.clusters = [(list(nodes), list(path)) for nodes, path in self.clusters]
        other.next_node, other.ties = self.next_node, self.ties
        return other

    def d(self, a, b):
        return Fraction(0) if a == b else self.dist[(a, b)]

    def mean(self, nodes_a, nodes_b):
        return sum(self.d(a, b) for a in nodes_a for b in nodes_b) / (len(nodes_a) * len(nodes_b))

    # The pairs (later, earlier) of clusters of the smallest Q in row order, and the gap to the
    # next larger Q.
    def tied_clusters(self):
        m = len(self.clusters)
        if m == 2:
            return [(1, 0)], None
        between = [[self.mean(a[0], b[0]) if a is not b else Fraction(0) for b in self.clusters] for a in self.clusters]
        r = [sum(row) for row in between]
        candidates = [((m - 2) * between[i][j] - r[i] - r[j], i, j) for i in range(1, m) for j in range(i)]
        best = min(q for q, _, _ in candidates)
        others = [q for q, _, _ in candidates if q != best]
        scale = (m - 2) * max(abs(v) for row in between for v in row) + 2 * max(abs(v) for v in r)
        gap = (min(others) - best) / scale if others else None
        return [(i, j) for q, i, j in candidates if q == best], gap

    # Joins the clusters later and earlier: their nodes x, y of the smallest Q, the paths turned
    # to meet at them, three nodes in a row reduced to two.
    def join(self, later, earlier, trace=None, gap=None):
        m = len(self.clusters)
        c, e = self.clusters[earlier], self.clusters[later]
        rest = [o for k, o in enumerate(self.clusters) if k != earlier and k != later]
        units = c[0] + e[0]
        mm = m - 2 + len(units)

        def r_node(x):
            return sum(self.d(x, u) for u in units if u != x) + sum(self.mean(o[0], [x]) for o in rest)

        pairs = [((mm - 2) * self.d(x, y) - r_node(x) - r_node(y), x, y) for x in c[0] for y in e[0]]
        best = min(q for q, _, _ in pairs)
        tied = [(x, y) for q, x, y in pairs if q == best]
        # Of the last two clusters, joining one to either end of the other closes the same
        # circle when one is a single node, and joining x, y closes it as the other two ends do.
        closing = m == 2 and (len(c[0]) == 1 or len(e[0]) == 1)
        if len(tied) > (len(pairs) if closing else 2 if m == 2 else 1):
            self.ties += 1
        x, y = tied[0]
        if trace is not None:
            others = [q for q, _, _ in pairs if q != best]
            scale = (mm - 2) * max(abs(self.d(a, b)) for a in units for b in units) + 2 * max(abs(r_node(u)) for u in units)
            trace.append((m, c[1], e[1], c[0].index(x), e[0].index(y), gap, (min(others) - best) / scale if others else None))
        path = c[1] if len(c[0]) == 1 or c[0][1] == x else c[1][::-1]
        tail = e[1] if len(e[0]) == 1 or e[0][0] == y else e[1][::-1]
        row = ([c[0][0] if c[0][1] == x else c[0][1]] if len(c[0]) == 2 else []) + [x, y] + \
              ([e[0][1] if e[0][0] == y else e[0][0]] if len(e[0]) == 2 else [])
        alive = set(node for o in rest for node in o[0]) | set(row)
        # Three nodes p, q, s in a row become two new nodes u, v (a path of four, a x y b, twice:
        # a x y, then the two new nodes with b).
        while len(row) > 2:
            p, q, s = row[0], row[1], row[2]
            u, v = self.next_node, self.next_node + 1
            self.next_node += 2
            alive -= {p, q, s}
            for o in alive:
                self.set_d(u, o, Fraction(2, 3) * self.d(p, o) + Fraction(1, 3) * self.d(q, o))
                self.set_d(v, o, Fraction(2, 3) * self.d(s, o) + Fraction(1, 3) * self.d(q, o))
            self.set_d(u, v, (self.d(p, q) + self.d(p, s) + self.d(q, s)) / 3)
            alive |= {u, v}
            row = [u, v] + row[3:]
        self.clusters[earlier] = (row, path + tail)
        del self.clusters[later]

    def set_d(self, a, b, v):
        self.dist[(a, b)] = self.dist[(b, a)] = v

    # Joins to the end, the first of tied pairs taken; the trace collects the joins.
    def run(self, trace=None):
        while len(self.clusters) > 1:
            tied, gap = self.tied_clusters()
            m = len(self.clusters)
            if len(tied) > (3 if m == 3 else 2 if m == 4 else 1):
                self.ties += 1
            self.join(*tied[0], trace, gap)
        return self.clusters[0][1]

    # Every circle of a resolution of the formula's ties among the last four and three clusters.
    def circles(self):
        while len(self.clusters) > 4:
            self.join(*self.tied_clusters()[0][0])
        if len(self.clusters) < 3:
            return [self.run()]
        tied, _ = self.tied_clusters()
        inherent = 3 if len(self.clusters) == 3 else 2
        found = []
        for pair in tied[:inherent]:
            branch = self.copy()
            branch.join(*pair)
            found += branch.circles()
        return found


def splits(order):
    # The circle as its set of splits, each the side without the smallest individual.
    everyone = frozenset(order)
    result = set()
    for i in range(len(order)):
        for j in range(i + 1, len(order)):
            side = frozenset(order[i:j])
            result.add(everyone - side if min(order) in side else side)
    return frozenset(result)


def main():
    n, d = read_matrix(sys.argv[1])
    mode = sys.argv[2] if len(sys.argv) > 2 else ""
    if mode == "circles":
        found = Agglomeration(n, d).circles()
        print("order\t" + ",".join(str(i + 1) for i in found[0]))
        seen = set()
        for order in found:
            if splits(order) not in seen:
                seen.add(splits(order))
                print("circle%d\t" % len(seen) + ",".join(str(i + 1) for i in order))
        return
    trace = [] if mode == "trace" else None
    agglomeration = Agglomeration(n, d)
    order = agglomeration.run(trace)
    fmt = lambda g: "-" if g is None else "%.3e" % float(g)
    for m, c, e, x, y, cluster_gap, node_gap in trace or []:
        print("join\t%d\t%s\t%s\t%d%d\t%s\t%s" % (m, ",".join(str(i + 1) for i in c), ",".join(str(i + 1) for i in e),
                                                  x, y, fmt(cluster_gap), fmt(node_gap)))
    print("order\t" + ",".join(str(i + 1) for i in order))
    print("ties\t%d" % agglomeration.ties)


if __name__ == "__main__":
    main()
