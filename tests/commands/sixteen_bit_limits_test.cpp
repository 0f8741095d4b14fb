// Every place where a count or an index is kept in 16 bits, driven one step past 65535: each is
// refused with a message naming the limit, and nothing wraps. The cells are tiny (one locus, a
// single individual per group) so that 65536 entries stay fast.
#include <functional>
#include <string>
#include <vector>

#include "core/group_lists.h"
#include "groups/group_model.h"
#include "support/command_fixture.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

constexpr std::size_t kPastLimit = kMaxListEntries + 1;  // 65536

// AllData over the single individual "i", then count entries of that one member named prefix1 ...
GroupList ListOf(const char* whole, const char* prefix, std::size_t count, const std::string& member) {
  GroupList list{GroupEntry{whole, {member}, false}};
  for (std::size_t k = 1; k <= count; ++k) list.push_back(GroupEntry{prefix + std::to_string(k), {member}, false});
  return list;
}

std::string Block(const char* header, const char* prefix, std::size_t count, const char* member) {
  std::string text = std::string(header) + "\n";
  for (std::size_t k = 1; k <= count; ++k) text += prefix + std::to_string(k) + "=" + member + ";\n";
  return text + "*\n";
}

class SixteenBitLimitsTest;

struct LimitCase {
  const char* name;
  // Drives the path one past the limit and checks what it left; the value is the refusal shown.
  std::function<std::vector<std::string>(SixteenBitLimitsTest&)> drive;
  std::string refusal;
};

class SixteenBitLimitsTest : public testing::CommandTest, public ::testing::WithParamInterface<LimitCase> {
 public:
  using CommandTest::dir;
  using CommandTest::host;
  using CommandTest::Load;
  using CommandTest::LoadFile;
  using CommandTest::Run;
  using CommandTest::SelectGroupEntry;

  void LoadOneByOne() { Load("i\n1\n*\n"); }

  void Manage(const std::function<void(GroupManagerView&)>& work) {
    host.groupManagers.push_back([work](GroupManagerView& dialog) {
      work(dialog);
      return true;
    });
    Run("Groups1Click");
  }

  // Load, then the lists as given: past what any reader or the Group Manager would make.
  void LoadWithLists(GroupList groups, GroupList locusSets) {
    LoadOneByOne();
    app.ws.groups.groups = std::move(groups);
    app.ws.groups.locusSets = std::move(locusSets);
    app.RebuildGroupMenu(DisplayNames(app.ws.groups.groups, true));
  }

  Workspace& ws() { return app.ws; }
  std::vector<std::string> Errors() { return host.Errors(); }
};

const std::vector<LimitCase> kCases = {
    {"ReaderIndividuals",
     [](SixteenBitLimitsTest& t) {
       std::string row;
       for (std::size_t k = 0; k < kPastLimit; ++k) row += "1 ";
       t.dir.Write("wide.txt", row + "\n*\n");
       t.LoadFile("wide.txt", [](DialogForm& form) {
         form["individual_header"].checked = false;
         return true;
       });
       EXPECT_FALSE(t.ws().dataLoaded);
       return t.Errors();
     },
     "The input file holds 65536 individuals; at most 65535 can be read."},
    {"GroupsBlock",
     [](SixteenBitLimitsTest& t) {
       t.Load("i\n1\n*\n" + Block("[Groups]", "AllData/G", kPastLimit, "i"));
       const GroupList& groups = t.ws().groups.groups;
       EXPECT_EQ(groups.size(), kPastLimit);  // AllData and the first 65535
       EXPECT_EQ(groups.back().name, "AllData/G65535");
       // The last entry kept is selected, and AllData brings the whole data set back.
       t.SelectGroupEntry(kMaxListEntries);
       EXPECT_EQ(t.host.reports.back(), "Group selected: AllData/G65535");
       EXPECT_EQ(t.ws().groups.activeGroup, kMaxListEntries);
       t.SelectGroupEntry(0);
       EXPECT_EQ(t.ws().data, t.ws().original);
       return t.Errors();
     },
     "The [Groups] block holds more than 65535 groups; at most 65535 can be kept."},
    {"LocusSetsBlock",
     [](SixteenBitLimitsTest& t) {
       t.Load("i\n1\n*\n" + Block("[LocusSets]", "S", kPastLimit, "Locus1"));
       EXPECT_EQ(t.ws().groups.locusSets.size(), kPastLimit);
       return t.Errors();
     },
     "The [LocusSets] block holds more than 65535 locus sets; at most 65535 can be kept."},
    {"GroupManagerAccept",
     [](SixteenBitLimitsTest& t) {
       t.LoadWithLists(ListOf("AllData", "AllData/G", kMaxListEntries, "i"), {});
       t.Manage([](GroupManagerView& dialog) {
         dialog.Controls().membersSelected = {true};
         dialog.Button1Click();
         dialog.Controls().groupName = "OneTooMany";
         dialog.Button3Click();
         EXPECT_EQ(dialog.Controls().groupItems.size(), kPastLimit);
         EXPECT_EQ(dialog.Controls().groupName, "OneTooMany");  // refused as it stood
       });
       EXPECT_EQ(t.ws().groups.groups.size(), kPastLimit);
       return t.Errors();
     },
     "At most 65535 groups can be kept; delete one before adding another."},
    {"GroupManagerAdd",
     [](SixteenBitLimitsTest& t) {
       t.LoadWithLists({}, ListOf("AllLoci", "S", kMaxListEntries, "Locus1"));
       t.Manage([](GroupManagerView& dialog) {
         dialog.Controls().locusSetNameField = "OneTooMany";
         dialog.Button5Click();
       });
       EXPECT_EQ(t.ws().groups.locusSets.size(), kPastLimit);
       return t.Errors();
     },
     "At most 65535 locus sets can be kept; delete one before adding another."},
    {"SelectGroup",
     [](SixteenBitLimitsTest& t) {
       t.LoadWithLists(ListOf("AllData", "AllData/G", kPastLimit, "i"), {});
       t.SelectGroupEntry(kPastLimit);
       EXPECT_EQ(t.ws().groups.activeGroup, 0);
       EXPECT_FALSE(t.ws().groups.parkedIndividuals.has_value());
       EXPECT_EQ(t.ws().data, t.ws().original);
       return t.Errors();
     },
     "Only the first 65535 groups can be selected."},
    {"SelectLocusSet",
     [](SixteenBitLimitsTest& t) {
       t.LoadWithLists({}, ListOf("AllLoci", "S", kPastLimit, "Locus1"));
       t.Manage([](GroupManagerView& dialog) {
         dialog.Controls().locusSetIndex = static_cast<int>(kPastLimit);
         dialog.NewLocSelection();
         dialog.Button7Click();
       });
       EXPECT_EQ(t.ws().groups.activeLocusSet, 0);
       EXPECT_EQ(t.ws().data, t.ws().original);
       return t.Errors();
     },
     "Only the first 65535 locus sets can be selected."},
    {"GroupProfiles",
     [](SixteenBitLimitsTest& t) {
       t.LoadWithLists(ListOf("AllData", "AllData/G", kPastLimit, "i"), {});
       t.Run("AdditiveBandProfile1Click");
       EXPECT_EQ(t.ws().data, t.ws().original);
       EXPECT_EQ(t.ws().groups.activeGroup, 0);
       return t.Errors();
     },
     "Profiles of 65536 groups cannot be built: a data matrix holds at most 65535 individuals."},
    {"UpgmaNodeNumbers",
     [](SixteenBitLimitsTest&) {
       DistanceMatrix distances;  // only its size is looked at before the refusal
       distances.n = kMaxTreeOtus + 1;
       const auto tree = BuildUPGMA(std::move(distances), LabelTable());
       return tree ? std::vector<std::string>() : std::vector<std::string>{tree.error()};
     },
     "A tree can hold at most 32768 individuals."},
};

TEST_P(SixteenBitLimitsTest, OnePastTheLimitIsRefusedWithItsMessage) {
  EXPECT_EQ(GetParam().drive(*this), std::vector<std::string>{GetParam().refusal});
}

INSTANTIATE_TEST_SUITE_P(Paths, SixteenBitLimitsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vorn
