// Which build of each hot kernel runs. Every kernel has a plain body, the meaning of its result,
// and bodies for processors with AVX2 and with AVX-512 that give the same result to the bit; the
// best body the processor runs is chosen once, at start-up, here. Tests and benchmarks may force
// a path, so that every body the processor runs is held against the plain one.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

enum class KernelPath { Plain, Avx2, Avx512 };
inline constexpr std::array<KernelPath, 3> kKernelPaths{KernelPath::Plain, KernelPath::Avx2, KernelPath::Avx512};

enum class Kernel { PairCounts, WeightedPairCounts, UpgmaRowScan, JacobiMagnitudeScan, AdmixtureBlockSums, SplitFactor };
inline constexpr std::array<Kernel, 6> kKernels{Kernel::PairCounts,          Kernel::WeightedPairCounts,
                                                Kernel::UpgmaRowScan,        Kernel::JacobiMagnitudeScan,
                                                Kernel::AdmixtureBlockSums, Kernel::SplitFactor};

// "plain", "AVX2", "AVX-512"; and the kernel's name as --version shows it.
std::string_view PathName(KernelPath path);
std::string_view KernelName(Kernel kernel);

// True when this processor runs the kernel's body for the path (the plain one everywhere).
bool PathRuns(Kernel kernel, KernelPath path);
// The path of the kernel's body that runs.
KernelPath PathOf(Kernel kernel);
// Every kernel runs its body for path from now on, or the best below it that the processor runs.
// For tests and benchmarks, while no kernel runs.
void ForcePath(KernelPath path);
// Forces the path a setting of VORN_KERNEL_PATH names ("plain", "avx2" or "avx512"); the message
// that names the setting when it names none (then nothing is forced).
std::optional<std::string> ForcePathOfSetting(std::string_view setting);
// The path last forced; AVX-512 (each kernel's best) when none was.
KernelPath ForcedPath();
// Each kernel with its path, as "pair counts AVX-512, ...".
std::string ChosenPathsText();

// The bodies of one kernel behind one signature, and the one that runs.
template <class Function>
struct KernelBuilds {
  Kernel kernel;
  Function plain, avx2, avx512;

  Function For(KernelPath path) const {
    switch (path) {
      case KernelPath::Avx512: return avx512;
      case KernelPath::Avx2: return avx2;
      case KernelPath::Plain: break;
    }
    return plain;
  }
  Function Chosen() const { return For(PathOf(kernel)); }
};

}  // namespace vorn
