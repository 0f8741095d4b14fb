#include "core/kernel_paths.h"

#include <utility>

namespace vorn {
namespace {

// What each kernel's AVX-512 body needs besides the foundation: the counts' vector popcounts.
bool Avx512Runs(Kernel kernel) {
  __builtin_cpu_init();
  const bool foundation = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                          __builtin_cpu_supports("avx512bw");
  switch (kernel) {
    case Kernel::PairCounts:
    case Kernel::WeightedPairCounts: return foundation && __builtin_cpu_supports("avx512vpopcntdq");
    case Kernel::UpgmaRowScan:
    case Kernel::JacobiMagnitudeScan: break;
    case Kernel::AdmixtureBlockSums:
    case Kernel::SplitFactor: return false;  // their AVX2 bodies fill the registers they use
  }
  return foundation;
}

KernelPath BestBelow(Kernel kernel, KernelPath path) {
  while (path != KernelPath::Plain && !PathRuns(kernel, path)) path = static_cast<KernelPath>(static_cast<int>(path) - 1);
  return path;
}

// The path forced, and each kernel's path below it.
struct Choice {
  KernelPath forced;
  std::array<KernelPath, kKernels.size()> paths;
};

Choice Below(KernelPath forced) {
  Choice choice{forced, {}};
  for (const Kernel kernel : kKernels) choice.paths[static_cast<std::size_t>(kernel)] = BestBelow(kernel, forced);
  return choice;
}

Choice& Chosen() {
  static Choice chosen = Below(KernelPath::Avx512);
  return chosen;
}

}  // namespace

std::string_view PathName(KernelPath path) {
  switch (path) {
    case KernelPath::Avx512: return "AVX-512";
    case KernelPath::Avx2: return "AVX2";
    case KernelPath::Plain: break;
  }
  return "plain";
}

std::string_view KernelName(Kernel kernel) {
  switch (kernel) {
    case Kernel::PairCounts: return "pair counts";
    case Kernel::WeightedPairCounts: return "weighted pair counts";
    case Kernel::UpgmaRowScan: return "UPGMA row scan";
    case Kernel::JacobiMagnitudeScan: return "Jacobi magnitude scan";
    case Kernel::AdmixtureBlockSums: return "admixture block sums";
    case Kernel::SplitFactor: break;
  }
  return "split weights factor";
}

std::optional<std::string> ForcePathOfSetting(std::string_view setting) {
  constexpr std::array<std::pair<std::string_view, KernelPath>, 3> kSettings{
      {{"plain", KernelPath::Plain}, {"avx2", KernelPath::Avx2}, {"avx512", KernelPath::Avx512}}};
  for (const auto& [name, path] : kSettings) {
    if (setting == name) {
      ForcePath(path);
      return std::nullopt;
    }
  }
  return "VORN_KERNEL_PATH is plain, avx2 or avx512, not \"" + std::string(setting) + "\"";
}

bool PathRuns(Kernel kernel, KernelPath path) {
  __builtin_cpu_init();
  switch (path) {
    case KernelPath::Avx512: return Avx512Runs(kernel);
    case KernelPath::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    case KernelPath::Plain: break;
  }
  return true;
}

KernelPath PathOf(Kernel kernel) { return Chosen().paths[static_cast<std::size_t>(kernel)]; }

void ForcePath(KernelPath path) { Chosen() = Below(path); }

KernelPath ForcedPath() { return Chosen().forced; }

std::string ChosenPathsText() {
  std::string text;
  for (const Kernel kernel : kKernels) {
    if (!text.empty()) text += ", ";
    text += std::string(KernelName(kernel)) + " " + std::string(PathName(PathOf(kernel)));
  }
  return text;
}

}  // namespace vorn
