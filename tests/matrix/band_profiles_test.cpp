#include "matrix/band_profiles.h"

#include <gtest/gtest.h>

#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

// Six members; loci: all missing; 3 presences with 3 missing; 4 presences with 2 missing; an
// absence among presences; all present.
const std::vector<std::string> kGroup = {"?1101", "?1111", "?1111", "??111", "???11", "???11"};

TEST(BandProfiles, AdditiveMarksAnyPresence) {
  EXPECT_EQ(AdditiveProfile(MatrixFromRows(kGroup)),
            (std::vector<Cell>{Absence, Presence, Presence, Presence, Presence}));
}

TEST(BandProfiles, FixedNeedsNoAbsenceAndMorePresencesThanMissing) {
  const auto fixed = FixedProfile(MatrixFromRows(kGroup));
  EXPECT_EQ(fixed.profile, (std::vector<Cell>{Absence, Absence, Presence, Absence, Presence}));
  EXPECT_EQ(fixed.presenceCount, 2u);
}

TEST(BandProfiles, ASingleMemberAgreesWhereScored) {
  const DataMatrix one = MatrixFromRows({"10?"});
  EXPECT_EQ(AdditiveProfile(one), (std::vector<Cell>{Presence, Absence, Absence}));
  EXPECT_EQ(FixedProfile(one).profile, (std::vector<Cell>{Presence, Absence, Absence}));
}

}  // namespace
}  // namespace vorn
