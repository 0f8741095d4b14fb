// Slow, obvious forms of the NeighborNet steps that the tests hold the program's against: the
// design matrix of all circular splits written out, Lawson & Hanson's NNLS on it with dense
// Gaussian elimination, and the agglomeration with new nodes for every reduction and every
// sum taken afresh.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "core/undefined_pairs.h"

namespace vorn::testing {

using Dense = std::vector<std::vector<Real>>;

// Row (a, b), a < b, column (i, j): 1 when split i + 1 .. j separates positions a and b.
inline Dense DesignMatrix(std::size_t n) {
  const std::size_t count = n * (n - 1) / 2;
  Dense a(count, std::vector<Real>(count, 0));
  for (std::size_t b = 1; b < n; ++b)
    for (std::size_t p = 0; p < b; ++p)
      for (std::size_t j = 1; j < n; ++j)
        for (std::size_t i = 0; i < j; ++i) {
          const bool inP = p > i && p <= j, inB = b > i && b <= j;
          a[StrictPairIndex(b, p)][StrictPairIndex(j, i)] = inP != inB ? 1 : 0;
        }
  return a;
}

// Solves m x = v by Gaussian elimination with partial pivoting.
inline std::vector<Real> Solve(Dense m, std::vector<Real> v) {
  const std::size_t k = v.size();
  for (std::size_t c = 0; c < k; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < k; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
    std::swap(m[c], m[pivot]);
    std::swap(v[c], v[pivot]);
    for (std::size_t r = c + 1; r < k; ++r) {
      const Real f = m[r][c] / m[c][c];
      for (std::size_t s = c; s < k; ++s) m[r][s] -= f * m[c][s];
      v[r] -= f * v[c];
    }
  }
  std::vector<Real> x(k);
  for (std::size_t c = k; c-- > 0;) {
    Real s = v[c];
    for (std::size_t t = c + 1; t < k; ++t) s -= m[c][t] * x[t];
    x[c] = s / m[c][c];
  }
  return x;
}

// The least squares of the columns in passive, the others 0.
inline std::vector<Real> PassiveLeastSquares(const Dense& a, const std::vector<Real>& d, const std::vector<bool>& passive) {
  std::vector<std::size_t> columns;
  for (std::size_t c = 0; c < passive.size(); ++c)
    if (passive[c]) columns.push_back(c);
  Dense normal(columns.size(), std::vector<Real>(columns.size(), 0));
  std::vector<Real> right(columns.size(), 0);
  for (std::size_t r = 0; r < a.size(); ++r)
    for (std::size_t s = 0; s < columns.size(); ++s) {
      right[s] += a[r][columns[s]] * d[r];
      for (std::size_t t = 0; t < columns.size(); ++t) normal[s][t] += a[r][columns[s]] * a[r][columns[t]];
    }
  const std::vector<Real> z = columns.empty() ? std::vector<Real>{} : Solve(normal, right);
  std::vector<Real> x(passive.size(), 0);
  for (std::size_t s = 0; s < columns.size(); ++s) x[columns[s]] = z[s];
  return x;
}

// Lawson & Hanson's NNLS, as in their book, from x = 0.
inline std::vector<Real> DenseNnls(const Dense& a, const std::vector<Real>& d) {
  const std::size_t k = a[0].size();
  std::vector<Real> x(k, 0);
  std::vector<bool> passive(k, false);
  for (int outer = 0; outer < 1000; ++outer) {
    std::vector<Real> w(k, 0);
    for (std::size_t r = 0; r < a.size(); ++r) {
      Real residual = d[r];
      for (std::size_t c = 0; c < k; ++c) residual -= a[r][c] * x[c];
      for (std::size_t c = 0; c < k; ++c) w[c] += a[r][c] * residual;
    }
    std::size_t best = k;
    for (std::size_t c = 0; c < k; ++c)
      if (!passive[c] && w[c] > 1e-15L && (best == k || w[c] > w[best])) best = c;
    if (best == k) return x;
    passive[best] = true;
    for (;;) {
      const std::vector<Real> z = PassiveLeastSquares(a, d, passive);
      Real alpha = 2;
      for (std::size_t c = 0; c < k; ++c)
        if (passive[c] && z[c] <= 0) alpha = std::min(alpha, x[c] / (x[c] - z[c]));
      if (alpha == 2) {
        x = z;
        break;
      }
      for (std::size_t c = 0; c < k; ++c) {
        x[c] += alpha * (z[c] - x[c]);
        if (passive[c] && x[c] <= 1e-18L) passive[c] = false, x[c] = 0;
      }
    }
  }
  return x;
}

// The agglomeration of neighbor_net_order.h with a new node for each reduction, distances in a
// map by node pair, and every mean and sum taken afresh.
inline std::vector<std::size_t> SlowNeighborNetOrder(std::size_t n, const std::vector<Real>& distances) {
  std::map<std::pair<std::size_t, std::size_t>, Real> d;
  auto dist = [&](std::size_t a, std::size_t b) -> Real& { return d[{std::min(a, b), std::max(a, b)}]; };
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) dist(i, j) = distances[StrictPairIndex(i, j)];
  struct C {
    std::vector<std::size_t> nodes;  // 1 or 2: front, back
    std::vector<std::size_t> path;
  };
  std::vector<C> cl;
  for (std::size_t i = 0; i < n; ++i) cl.push_back({{i}, {i}});
  std::size_t next = n;
  auto mean = [&](const C& c, const std::vector<std::size_t>& nodes) {
    Real s = 0;
    for (auto a : c.nodes)
      for (auto b : nodes) s += dist(a, b);
    return s / static_cast<Real>(c.nodes.size() * nodes.size());
  };
  while (cl.size() > 1) {
    const std::size_t m = cl.size();
    std::size_t bi = 1, bj = 0;
    if (m > 2) {
      Real best = 0;
      bool any = false;
      for (std::size_t i = 1; i < m; ++i)
        for (std::size_t j = 0; j < i; ++j) {
          Real ri = 0, rj = 0;
          for (std::size_t k = 0; k < m; ++k) {
            if (k != i) ri += mean(cl[i], cl[k].nodes);
            if (k != j) rj += mean(cl[j], cl[k].nodes);
          }
          const Real q = static_cast<Real>(m - 2) * mean(cl[i], cl[j].nodes) - ri - rj;
          if (!any || q < best - 1e-12L) best = q, bi = i, bj = j, any = true;
        }
    }
    C& a = cl[bj];
    C& b = cl[bi];
    std::vector<std::size_t> units = a.nodes;
    units.insert(units.end(), b.nodes.begin(), b.nodes.end());
    auto r = [&](std::size_t x) {
      Real s = 0;
      for (auto u : units)
        if (u != x) s += dist(x, u);
      for (std::size_t k = 0; k < m; ++k)
        if (k != bi && k != bj) s += mean(cl[k], {x});
      return s;
    };
    const Real mm = static_cast<Real>(m - 2 + units.size());
    std::size_t x = a.nodes[0], y = b.nodes[0];
    Real best = 0;
    bool any = false;
    for (auto p : a.nodes)
      for (auto q : b.nodes) {
        const Real v = (mm - 2) * dist(p, q) - r(p) - r(q);
        if (!any || v < best - 1e-12L) best = v, x = p, y = q, any = true;
      }
    std::vector<std::size_t> path = a.path, tail = b.path;
    if (a.nodes.size() == 2 && a.nodes[0] == x) std::reverse(path.begin(), path.end());
    if (b.nodes.size() == 2 && b.nodes[1] == y) std::reverse(tail.begin(), tail.end());
    path.insert(path.end(), tail.begin(), tail.end());
    std::vector<std::size_t> row;
    if (a.nodes.size() == 2) row.push_back(a.nodes[0] == x ? a.nodes[1] : a.nodes[0]);
    row.push_back(x);
    row.push_back(y);
    if (b.nodes.size() == 2) row.push_back(b.nodes[0] == y ? b.nodes[1] : b.nodes[0]);
    std::set<std::size_t> alive;
    for (std::size_t k = 0; k < m; ++k)
      for (auto v : cl[k].nodes) alive.insert(v);
    while (row.size() > 2) {
      const std::size_t p = row[0], q = row[1], s = row[2], u = next++, v = next++;
      alive.erase(p), alive.erase(q), alive.erase(s);
      for (auto o : alive) {
        dist(u, o) = 2 * dist(p, o) / 3 + dist(q, o) / 3;
        dist(v, o) = 2 * dist(s, o) / 3 + dist(q, o) / 3;
      }
      dist(u, v) = (dist(p, q) + dist(p, s) + dist(q, s)) / 3;
      alive.insert(u), alive.insert(v);
      row.erase(row.begin(), row.begin() + 3);
      row.insert(row.begin(), {u, v});
    }
    C merged{{row[0], row[1]}, path};
    cl[bj] = merged;
    cl.erase(cl.begin() + static_cast<std::ptrdiff_t>(bi));
  }
  return cl[0].path;
}

// Distances uniform in [0.1, 1) between n individuals.
inline std::vector<Real> RandomPairs(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> uniform(0.1, 1.0);
  std::vector<Real> pairs(n * (n - 1) / 2);
  for (Real& v : pairs) v = uniform(generator);
  return pairs;
}

}  // namespace vorn::testing
