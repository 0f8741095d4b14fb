#include "diversity/shannon_bootstrap.h"

#include <algorithm>

#include "core/progress.h"
#include "matrix/band_counts.h"
#include "matrix/monomorphic.h"
#include "matrix/removal_filters.h"
#include "diversity/shannon.h"

namespace vorn {
namespace {

// Replicates drawn ahead and then evaluated together; their drawn loci take
// kChunk * L * 2 bytes.
constexpr std::size_t kChunk = 512;
// Below this many steps (loci plus missing draws) over all replicates one core does it.
constexpr std::size_t kParallelWork = 1u << 20;

enum class Replacement { None, Absences, Presences, Random };

Replacement ReplacementOf(const ShannonBootstrapOptions& options) {
  if (!options.replaceMissing) return Replacement::None;
  if (options.replacementShare == 0.0) return Replacement::Absences;
  if (options.replacementShare == 1.0) return Replacement::Presences;
  return Replacement::Random;
}

// The generator's words u * 2^32 that are draws u <= q: q is a double, so q * 2^32 is exact and
// S / 2^32 <= q exactly when S <= floor(q * 2^32).
std::uint32_t HighestPresenceWord(double q) {
  return static_cast<std::uint32_t>(static_cast<Real>(q) * 4294967296.0L);
}

// One replicate: the loci it drew, and where its replacement draws start in the generator.
struct Draw {
  const std::uint16_t* loci;
  std::uint32_t replacementState;
};

class ReplicateEvaluator {
 public:
  ReplicateEvaluator(const std::vector<BandCounts>& counts, std::size_t individualCount,
                     const ShannonBootstrapOptions& options)
      : counts_(counts),
        individualCount_(individualCount),
        basis_(options.basis),
        replacement_(ReplacementOf(options)),
        highestPresence_(HighestPresenceWord(options.replacementShare)),
        presences_(counts.size()),
        terms_(individualCount + 1),
        termDivisor_(individualCount + 1, 0) {}

  // I in bits of the replicate, as ShannonIndex gives it for the replicate's frequencies after
  // replacement and monomorphic removal.
  Real Index(const Draw& draw) {
    RandomGenerator random;
    random.Seed(draw.replacementState);
    std::size_t totalPresences = 0;
    for (std::size_t a = 0; a < counts_.size(); ++a) {
      BandCounts locus = counts_[draw.loci[a]];
      if (replacement_ != Replacement::None) {
        std::size_t present = 0;
        if (replacement_ == Replacement::Presences) present = locus.missing;
        if (replacement_ == Replacement::Random) {
          present = random.CountWordsAtMost(highestPresence_, static_cast<std::uint32_t>(locus.missing));
        }
        locus = {locus.presences + present, locus.absences + locus.missing - present, 0};
      }
      const bool kept = !IsMonomorphic(locus);
      presences_[a] = kept ? locus.presences : kRemoved;
      if (kept) totalPresences += locus.presences;
    }
    const std::size_t divisor = basis_ == FrequencyBasis::RelativeToAllPresences ? totalPresences : individualCount_;
    Real sum = 0;
    if (divisor == 0) return -sum;  // every frequency 0
    for (std::size_t presences : presences_) {
      if (presences != kRemoved && presences > 0) sum += Term(presences, divisor);
    }
    return -sum;
  }

 private:
  static constexpr std::size_t kRemoved = ~std::size_t{0};

  // ShannonTerm(presences / divisor), remembered for the divisor of the replicate at hand.
  Real Term(std::size_t presences, std::size_t divisor) {
    if (termDivisor_[presences] != divisor) {
      terms_[presences] = ShannonTerm(static_cast<Real>(presences) / static_cast<Real>(divisor));
      termDivisor_[presences] = divisor;
    }
    return terms_[presences];
  }

  const std::vector<BandCounts>& counts_;
  std::size_t individualCount_;
  FrequencyBasis basis_;
  Replacement replacement_;
  std::uint32_t highestPresence_;
  std::vector<std::size_t> presences_;  // per replicate locus; kRemoved for a monomorphic one
  std::vector<Real> terms_;
  std::vector<std::size_t> termDivisor_;
};

}  // namespace

Result<std::vector<Real>> BootstrapShannonIndices(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                                  RandomGenerator& random, const StepProgress& progress) {
  const std::vector<BandCounts> counts = CountRows(matrix, RowKind::Loci);
  for (const BandCounts& locus : counts) {
    if (locus.Scored() != matrix.individualCount) return Failure{kDataMatrixError};
  }
  const std::size_t locusCount = matrix.locusCount;
  const std::size_t replicates = static_cast<std::size_t>(std::max(options.replicates, 0));
  const bool randomReplacement = ReplacementOf(options) == Replacement::Random;
  std::size_t missing = 0;
  for (const BandCounts& locus : counts) missing += locus.missing;
  const bool parallel = replicates * (locusCount + (randomReplacement ? missing : 0)) >= kParallelWork;

  std::vector<Real> indices(replicates);
  std::vector<std::uint16_t> loci(std::min(replicates, kChunk) * locusCount);
  std::vector<Draw> draws(std::min(replicates, kChunk));
  for (std::size_t first = 0; first < replicates; first += kChunk) {
    const std::size_t chunk = std::min(kChunk, replicates - first);
    // In generator order: the loci of a replicate, then past its replacement draws.
    for (std::size_t r = 0; r < chunk; ++r) {
      std::uint16_t* drawn = loci.data() + r * locusCount;
      std::uint64_t replacementDraws = 0;
      for (std::size_t a = 0; a < locusCount; ++a) {
        drawn[a] = static_cast<std::uint16_t>(random.NextBelow(static_cast<std::uint32_t>(locusCount)));
        replacementDraws += counts[drawn[a]].missing;
      }
      draws[r] = {drawn, random.State()};
      if (randomReplacement) random.Skip(replacementDraws);
    }
#pragma omp parallel if (parallel)
    {
      ReplicateEvaluator evaluator(counts, matrix.individualCount, options);
#pragma omp for schedule(static)
      for (std::size_t r = 0; r < chunk; ++r) indices[first + r] = evaluator.Index(draws[r]);
    }
    KeepResponsive();
    if (progress && !progress(first + chunk)) return Failure{""};
  }
  return indices;
}

bool CanHavePolymorphicLoci(const DataMatrix& matrix, const ShannonBootstrapOptions& options) {
  const Replacement replacement = ReplacementOf(options);
  const auto canBePolymorphic = [&](const BandCounts& locus) {
    const std::size_t p = locus.presences, a = locus.absences, m = locus.missing;
    switch (replacement) {
      case Replacement::None: return !IsMonomorphic(locus);
      case Replacement::Absences: return !IsMonomorphic({p, a + m, 0});
      case Replacement::Presences: return !IsMonomorphic({p + m, a, 0});
      // Some split of the missing scores leaves a presence and an absence.
      case Replacement::Random: return p + m > 0 && a + m > 0 && locus.Scored() >= 2;
    }
    return false;
  };
  const std::vector<BandCounts> counts = CountRows(matrix, RowKind::Loci);
  return std::any_of(counts.begin(), counts.end(), canBePolymorphic);
}

MeanAndVariance SampleMoments(std::span<const Real> values) {
  Real sum = 0;
  Real squares = 0;
  for (Real value : values) {
    sum += value;
    squares += value * value;
  }
  const Real count = static_cast<Real>(values.size());
  const Real mean = sum / count;
  const Real variance = (squares - count * (mean * mean)) / (count - 1);
  return {mean, std::max<Real>(variance, 0)};
}

}  // namespace vorn
