#include "replicates/network_support.h"

#include <algorithm>
#include <vector>

#include "core/undefined_pairs.h"
#include "replicates/bootstrap_matrix.h"
#include "replicates/replicate_pipeline.h"
#include "replicates/resample_loci.h"

namespace vorn {
namespace {

using SplitKey = std::vector<std::uint64_t>;

// One replicate from its draw to its count: the drawn loci, then its network's keys, sorted.
struct Slot {
  std::vector<std::uint32_t> loci;
  std::vector<SplitKey> keys;
  std::string failure;  // no network: why
};

// The network of one replicate's distances, or why there is none.
Result<NeighborNet> ReplicateNetwork(const Workspace& ws, const std::vector<std::uint32_t>& loci) {
  const SimilarityFill matrix = BootstrapStdMatrix(ws.data, loci, ws.settings.similarity, true);
  const LabelTable& labels = ws.data.individualLabels;
  if (const UndefinedPairs undefined = FindUndefinedPairs(matrix.matrix, matrix.marks); undefined.Any()) {
    return Failure{UndefinedPairsRefusal(undefined, labels, "no network was built")};
  }
  const std::size_t n = matrix.matrix.n;
  std::vector<Real> pairs;
  pairs.reserve(n * (n - 1) / 2);
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.push_back(matrix.matrix(i, j));
  }
  return BuildNeighborNet(n, pairs, labels);
}

}  // namespace

std::vector<SplitKey> SplitKeys(const NeighborNet& net) {
  std::vector<SplitKey> keys;
  keys.reserve(net.splits.size());
  const std::size_t words = (net.n + 63) / 64;
  for (const NetworkSplit& split : net.splits) {
    SplitKey key(words, 0);
    for (std::size_t i : split.side) key[i / 64] |= std::uint64_t{1} << (i % 64);
    if (key[0] & 1) {
      for (std::size_t w = 0; w < words; ++w) key[w] = ~key[w];
      if (net.n % 64 != 0) key.back() &= (std::uint64_t{1} << (net.n % 64)) - 1;
    }
    keys.push_back(std::move(key));
  }
  return keys;
}

NetworkSupportSummary AddNetworkSupport(Workspace& ws, NeighborNet& net, const NetworkSupportProgress& progress) {
  NetworkSupportSummary summary;
  const std::int32_t count = ws.settings.replicates.BS;
  const std::vector<SplitKey> own = SplitKeys(net);
  std::vector<std::int32_t> held(own.size(), 0);
  std::vector<Slot> slots(SlotCount(CoreBatch(1)));
  ReplicateStages stages;
  stages.prepare = [&](std::size_t slot, std::int32_t) { DrawLoci(ws.data.locusCount, ws.random, slots[slot].loci); };
  stages.build = [&](std::size_t slot, std::int32_t) {
    Slot& s = slots[slot];
    s.keys.clear();
    s.failure.clear();
    auto replicate = ReplicateNetwork(ws, s.loci);
    if (!replicate) {
      s.failure = replicate.error();
      return;
    }
    s.keys = SplitKeys(*replicate);
    std::sort(s.keys.begin(), s.keys.end());
  };
  stages.deliver = [&](std::size_t slot, std::int32_t e) {
    const Slot& s = slots[slot];
    summary.delivered = e;  // counted before the progress may stop the run
    if (!s.failure.empty()) {
      if (summary.withoutNetwork++ == 0) summary.firstFailure = s.failure;
    } else {
      for (std::size_t k = 0; k < own.size(); ++k) held[k] += std::binary_search(s.keys.begin(), s.keys.end(), own[k]);
    }
    return progress(e);
  };
  RunReplicates(count, CoreBatch(1), stages);
  const std::int32_t networks = summary.delivered - summary.withoutNetwork;
  if (summary.delivered == count && networks > 0) {
    summary.networks = static_cast<std::size_t>(networks);
    for (std::size_t k = 0; k < own.size(); ++k) net.splits[k].support = 100 * Real(held[k]) / Real(networks);
  }
  return summary;
}

}  // namespace vorn
