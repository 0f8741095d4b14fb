#include "pictures/network_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn {
namespace {

struct Step {
  double angle;  // of the step's direction, from the gap's angle on, in [0, 2 pi)
  std::size_t split;
  double sign;  // +1 entering, -1 leaving
};

}  // namespace

NetworkScene MakeNetworkScene(const NeighborNet& net, const LabelTable& labels, std::vector<int> groups,
                              std::vector<std::string> groupNames, std::string title) {
  NetworkScene scene;
  scene.title = std::move(title);
  const std::size_t n = net.n;
  const double pi = std::numbers::pi;
  std::vector<std::size_t> place(n);
  for (std::size_t k = 0; k < n; ++k) place[net.order[k]] = k;
  // Each split as the places first .. last of its side without place 0.
  std::vector<std::size_t> first(net.splits.size()), last(net.splits.size());
  std::vector<double> direction(net.splits.size());
  for (std::size_t s = 0; s < net.splits.size(); ++s) {
    std::vector<bool> inside(n, false);
    for (std::size_t i : net.splits[s].side) inside[place[i]] = true;
    if (inside[0]) inside.flip();
    first[s] = n, last[s] = 0;
    for (std::size_t k = 0; k < n; ++k) {
      if (inside[k]) first[s] = std::min(first[s], k), last[s] = std::max(last[s], k);
    }
    direction[s] = pi * static_cast<double>(first[s] + last[s]) / static_cast<double>(n);
    // A pendant edge's support says nothing: nearly every replicate network holds it.
    scene.support.push_back(net.splits[s].side.size() == 1 ? -1.0 : static_cast<double>(net.splits[s].support));
    scene.largestWeight = std::max(scene.largestWeight, static_cast<double>(net.splits[s].weight));
  }
  NetworkPoint at;
  scene.outline.push_back(at);
  scene.tipPoint.assign(n, 0);
  scene.tipAngle.assign(n, 0);
  scene.tipPoint[net.order[0]] = 0;
  for (std::size_t k = 0; k < n; ++k) {
    // From place k to place k + 1 (round to 0): leave the splits ending at k, enter those
    // beginning at k + 1.
    const double gap = 2 * pi * (static_cast<double>(k) + 0.5) / static_cast<double>(n);
    std::vector<Step> steps;
    for (std::size_t s = 0; s < net.splits.size(); ++s) {
      if (last[s] == k) steps.push_back({std::fmod(direction[s] + pi - gap + 4 * pi, 2 * pi), s, -1});
      if (k + 1 < n && first[s] == k + 1) steps.push_back({std::fmod(direction[s] - gap + 4 * pi, 2 * pi), s, 1});
    }
    // Steps turning the walk the least from its heading (a quarter turn past the gap) first.
    std::sort(steps.begin(), steps.end(), [&](const Step& a, const Step& b) {
      const double ha = std::fmod(a.angle - pi / 2 + 2 * pi, 2 * pi), hb = std::fmod(b.angle - pi / 2 + 2 * pi, 2 * pi);
      return ha != hb ? ha < hb : a.split < b.split;
    });
    for (const Step& step : steps) {
      const double w = static_cast<double>(net.splits[step.split].weight) * step.sign;
      at.x += w * std::cos(direction[step.split]);
      at.y += w * std::sin(direction[step.split]);
      scene.edgeSplit.push_back(step.split);
      scene.outline.push_back(at);
    }
    if (k + 1 < n) {
      scene.tipPoint[net.order[k + 1]] = scene.outline.size() - 1;
      scene.tipAngle[net.order[k + 1]] = 2 * pi * static_cast<double>(k + 1) / static_cast<double>(n);
    }
  }
  for (std::size_t i = 0; i < n; ++i) scene.labels.push_back(labels.Count() == n ? labels[i] : "OTU" + std::to_string(i + 1));
  scene.groups = groups.size() == n ? std::move(groups) : std::vector<int>(n, -1);
  scene.groupNames = std::move(groupNames);
  return scene;
}

}  // namespace vorn
