// Shannon's index of groups, with Bowman's or the bootstrapped variance, and the t-test between
// two groups. Each group's matrix is given by the caller (its individuals from the whole data
// set); nothing here changes a workspace.
//
// The test is made on the base-2 values: the chosen base converts I and var(I) with one factor,
// so a t from converted values would change with the base. The converted values are kept beside
// them for the listing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/data_matrix.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "core/settings.h"
#include "diversity/shannon_bootstrap.h"
#include "distributions/student_t.h"

namespace vorn {

inline constexpr const char* kSingleRunRefused = "BsShannon: Only single run selected";

// Why a group has no values: it has no individuals, or no polymorphic locus is left.
enum class GroupGap { None, NoIndividuals, NoPolymorphicLoci };

struct GroupShannon {
  GroupGap gap = GroupGap::None;
  Real index = 0, variance = 0;      // in the chosen base, as listed
  Real index2 = 0, variance2 = 0;    // in bits, for the test
  std::size_t size = 0;              // n, the group's individuals
};

// The group's matrix, missing scores replaced when options say so, its monomorphic loci removed;
// I and Bowman's var(I) of what is left. Fails on a cell code other than 0, 1, 9 or a base A
// without logarithms.
Result<GroupShannon> GroupShannonBowman(const DataMatrix& group, const ShannonBootstrapOptions& options,
                                        const ShannonScaling& scaling, RandomGenerator& random);

// The mean and variance of I over the options' R bootstrap replicates of the group's matrix
// (each converted to the chosen base before they are summed, and in bits for the test). A
// group has no values when no replicate can hold a polymorphic locus (CanHavePolymorphicLoci);
// a replicate that happens to keep no locus has I = 0. Fails for R <= 1 with
// kSingleRunRefused, on bad cells and on a base without logarithms.
Result<GroupShannon> GroupShannonBootstrap(const DataMatrix& group, const ShannonBootstrapOptions& options,
                                           const ShannonScaling& scaling, RandomGenerator& random);

// The mean and variance of I in the chosen base over the options' R replicates, and in bits.
struct BootstrapEstimate {
  MeanAndVariance scaled;
  MeanAndVariance bits;
};
// progress as BootstrapShannonIndices takes it.
Result<BootstrapEstimate> BootstrapShannon(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                           const ShannonScaling& scaling, RandomGenerator& random,
                                           const StepProgress& progress = {});

// ν rounded up to the next integer when it has a fractional part; a ν within a few units of the
// last place of an integer is that integer, so that rounding does not push an exact ν up.
std::uint32_t RoundUpDegrees(Real degrees);

struct PairTest {
  Real t = 0;
  std::uint32_t degrees = 0;  // ν
  MathsValue p;
};

// t = |Ia - Ib| / sqrt(va + vb), ν = (va + vb)^2 / (va^2/na + vb^2/nb) rounded up, p two-sided,
// all from the values in bits. Nothing when va + vb is 0 or t or ν is not a finite number.
std::optional<PairTest> ShannonPairTest(const GroupShannon& a, const GroupShannon& b);

}  // namespace vorn
