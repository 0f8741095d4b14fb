#include <gtest/gtest.h>

#include "support/command_fixture.h"

namespace vorn {
namespace {

// Four individuals at three loci; PopA = a, b; PopB/Sub = c, d (listed out of data order).
const std::string kData =
    "a b c d\n"
    "1 ? 0 0\n"
    "1 1 ? 1\n"
    "0 0 1 1\n"
    "*\n"
    "[Groups]\n"
    "AllData/PopA= a, b;\n"
    "AllData/PopB= d, c;\n"
    "AllData/PopB/Sub= c;\n"
    "*\n";

class ProfileCommandsTest : public testing::CommandTest {};

TEST_F(ProfileCommandsTest, AdditiveProfilesReplaceTheMatrix) {
  Load(kData);
  SelectGroupEntry(1);  // a group was working: profiles are built from the whole data set
  host.reports.clear();
  Run("AdditiveBandProfile1Click");
  const DataMatrix& m = app.ws.data;
  EXPECT_EQ(m.individualLabels.All(), (std::vector<std::string>{"PopA", "PopB", "Sub"}));
  EXPECT_EQ(m.locusLabels, app.ws.original.locusLabels);
  // Rows are groups: PopA 1 1 0, PopB 0 1 1, Sub 0 0 1.
  EXPECT_EQ(m.cells, (std::vector<Cell>{Presence, Absence, Absence, Presence, Presence, Absence, Absence, Presence, Presence}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Additive Band Profile");
  EXPECT_EQ(host.messages[0].text,
            "EXPERIMENTAL: Additive Band Profile generated. This is now your current datamatrix (AllData)");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Generated Additive Band Profile"});
  EXPECT_EQ(app.ws.groups.activeGroup, 0);
  EXPECT_FALSE(app.ws.groups.parkedIndividuals.has_value());
  // The lists keep describing the loaded individuals, which Restore Original Matrix brings back.
  EXPECT_EQ(app.ws.groups.groups[0].members, app.ws.original.individualLabels.All());

  Run("RestoreOriginalMatrix1Click");
  EXPECT_EQ(app.ws.data, app.ws.original);
}

TEST_F(ProfileCommandsTest, FixedProfiles) {
  Load(kData);
  Run("FixedBandProfile1Click");
  // PopA: locus 1 present in a with b missing (1 presence, 1 missing: not fixed), locus 2 fixed.
  EXPECT_EQ(app.ws.data.cells, (std::vector<Cell>{Absence, Absence, Absence, Presence, Absence, Absence, Absence, Presence, Presence}));
  EXPECT_EQ(host.messages[0].title, "Fixed Band Profile");
  EXPECT_EQ(host.reports.back(), "Generated Fixed Band Profile");
}

TEST_F(ProfileCommandsTest, WithoutGroupsNothingHappens) {
  Load("a b\n1 0\n*\n");
  Run("AdditiveBandProfile1Click");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.reports.empty());
  EXPECT_EQ(app.ws.data, app.ws.original);
}

TEST_F(ProfileCommandsTest, ProfilesOfProfilesFailWithTheSelectionMessage) {
  Load(kData);
  Run("AdditiveBandProfile1Click");
  const DataMatrix profiles = app.ws.data;
  host.messages.clear();
  Run("FixedBandProfile1Click");
  ASSERT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(host.Errors()[0].rfind("Ordering Filter/Indiv failed.", 0), 0u);
  EXPECT_EQ(app.ws.data, profiles);
}

}  // namespace
}  // namespace vorn
