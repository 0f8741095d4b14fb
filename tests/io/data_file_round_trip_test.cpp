// The writer's whole promise, on random cases: random symbols (colliding ones too), random names
// (hostile ones too), random matrices with missing scores and random groups and locus sets.
// Every file WriteDataFile accepts loads back, with the same settings, as the same scores, names
// (the numbered defaults where none are written), groups and locus sets; every refusal names a
// culprit that is really in the case, and leaves the file that was there byte for byte, with
// nothing beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "groups/group_model.h"
#include "io/data_file_reader.h"
#include "io/data_file_writer.h"
#include "io/group_blocks.h"
#include "io/written_names.h"
#include "support/temp_dir.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::Entries;
using testing::RandomMatrix;
using testing::ReadFile;
using testing::TempDir;

constexpr int kCases = 400;
constexpr unsigned kSeed = 20260612;

const std::string kTail(kCouldNotBeReadAgain);

struct Case {
  FileLayout layout;
  DataMatrix matrix;
  GroupList groups;
  GroupList locusSets;
};

class Draw {
 public:
  explicit Draw(unsigned seed) : engine_(seed) {}

  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine_) < p; }
  std::size_t Below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_); }
  template <typename T>
  const T& OneOf(const std::vector<T>& items) { return items[Below(items.size())]; }
  std::mt19937& Engine() { return engine_; }

 private:
  std::mt19937 engine_;
};

// Mostly the usual characters; otherwise one that collides with the others, a blank, or a
// character the file holds anyway ("-", brackets, block syntax).
char Symbol(Draw& draw, char usual) {
  static const std::string pool = std::string("10?{}*-+#[]=,;sGL/x \t\r") + std::string(1, '\0');
  return draw.Chance(0.75) ? usual : pool[draw.Below(pool.size())];
}

FileLayout RandomLayout(Draw& draw) {
  FileLayout layout;
  layout.individualsInColumns = draw.Chance(0.5);
  layout.individualHeader = draw.Chance(0.7);
  layout.locusHeader = draw.Chance(0.5);
  layout.delimitedData = draw.Chance(0.6);
  layout.includeGroups = draw.Chance(0.8);
  layout.ambiguityNegative = draw.Chance(0.3);
  layout.presence = Symbol(draw, '1');
  layout.absence = Symbol(draw, '0');
  layout.ambiguity = Symbol(draw, '?');
  layout.openRemark = Symbol(draw, '{');
  layout.closeRemark = Symbol(draw, '}');
  layout.endOfData = Symbol(draw, '*');
  return layout;
}

// Mostly the usual name; otherwise one that breaks a rule or sits next to one.
std::string Name(Draw& draw, const std::string& usual) {
  static const std::vector<std::string> hostile = {
      "",  "a b", "a\tb", "x*", "{x", "x}", "-", "1", "?", "a,b", "a;b", "a=b", ",", "[Groups]", "[Gro", "ups]",
      "s]", "[LocusSets]", "#", "longer-than-twenty-characters", std::string("nul\0in", 6), "\xe9t\xe9", "x-?"};
  return draw.Chance(0.85) ? usual : draw.OneOf(hostile);
}

LabelTable Labels(Draw& draw, const char* prefix, std::size_t count) {
  std::vector<std::string> names;
  for (std::size_t n = 1; n <= count; ++n) names.push_back(Name(draw, prefix + std::to_string(n)));
  return LabelTable(names);  // cut to 20 characters, as every label is
}

GroupList RandomList(Draw& draw, std::string_view implicit, const std::string& prefix, const LabelTable& labels) {
  static const std::vector<std::string> hostileNames = {"", "A B", "A\tB", "x=y", "a;b,c",
                                                        "a-group-name-far-longer-than-twenty"};
  static const std::vector<std::vector<std::string>> hostileMembers = {
      {}, {""}, {",;"}, {"a,b"}, {"x y"}, {"abcdefghijklmnopqrstuvw"}, {"abcdefghijklmnopqrst"}};
  GroupList list{GroupEntry{std::string(implicit), labels.All(), false}};
  const std::size_t entries = draw.Below(4);
  for (std::size_t k = 1; k <= entries; ++k) {
    GroupEntry entry{prefix + (draw.Chance(0.9) ? "G" + std::to_string(k) : draw.OneOf(hostileNames)), {}, false};
    for (const auto& label : labels.All()) {
      if (draw.Chance(0.5)) entry.members.push_back(label);
    }
    std::shuffle(entry.members.begin(), entry.members.end(), draw.Engine());
    if (entry.members.empty()) entry.members.push_back(labels[0]);
    if (draw.Chance(0.1)) entry.members = draw.OneOf(hostileMembers);
    list.push_back(std::move(entry));
  }
  return list;
}

Case RandomCase(Draw& draw) {
  Case c;
  c.layout = RandomLayout(draw);
  const std::size_t individuals = draw.Chance(0.02) ? 0 : 1 + draw.Below(6);
  const std::size_t loci = 1 + draw.Below(14);  // rows of up to eleven scores can read as block headers
  c.matrix = RandomMatrix(individuals, loci, 0.25, 0.4, draw.Engine());
  c.matrix.individualLabels = Labels(draw, "i", individuals);
  c.matrix.locusLabels = Labels(draw, "l", loci);
  if (draw.Chance(0.04)) {  // names that spell a block header across the header line
    c.layout.individualsInColumns = true;
    c.layout.individualHeader = true;
    c.matrix = RandomMatrix(2, loci, 0.25, 0.4, draw.Engine());
    c.matrix.individualLabels = LabelTable({"[Gro", "ups]"});
    c.matrix.locusLabels = Labels(draw, "l", loci);
  }
  if (individuals > 0) c.groups = RandomList(draw, kAllData, "AllData/", c.matrix.individualLabels);
  c.locusSets = RandomList(draw, kAllLoci, "", c.matrix.locusLabels);
  return c;
}

std::string Cleaned(const std::string& member) {
  std::string kept;
  for (char c : member) {
    if (c != ',' && c != ';' && c != '=') kept += c;
  }
  return kept;
}

// The block read back into a list that held a stale entry before.
void ExpectBlockReadsBack(const std::string& path, const GroupList& saved, GroupBlock block, const DataMatrix& read,
                          bool toldCleaned) {
  const GroupList stale{GroupEntry{"stale", {"x"}, false}};
  GroupList list = stale;
  const Status status = ReadBlock(path, block, read, list);
  ASSERT_TRUE(status.ok()) << status.error();
  if (saved.size() <= 1) {
    EXPECT_EQ(list, stale) << "a list with only its implicit entry writes no block";
    EXPECT_FALSE(toldCleaned);
    return;
  }
  GroupList expected;
  ASSERT_TRUE((block == GroupBlock::Groups ? BuildAllData(read, expected) : BuildAllLoci(read, expected)).ok());
  bool cleaned = false;
  for (std::size_t k = 1; k < saved.size(); ++k) {
    GroupEntry entry = saved[k];
    for (auto& member : entry.members) {
      cleaned = cleaned || Cleaned(member) != member;
      member = Cleaned(member);
    }
    std::vector<RepeatedMember> repeated;  // a name written twice (two individuals share it) reads back once
    KeepEachMemberOnce(entry, repeated);
    expected.push_back(entry);
  }
  EXPECT_EQ(list, expected);
  EXPECT_EQ(toldCleaned, cleaned) << "the notice is shown exactly when a member name lost a character";
}

void ExpectReadsBack(const Case& c, const std::string& path, const std::vector<GroupBlock>& cleaned) {
  const FileLayout& layout = c.layout;
  auto read = ReadDataFile(path, layout);
  ASSERT_TRUE(read.ok()) << read.error() << "\n" << ReadFile(path);
  EXPECT_EQ(read->individualCount, c.matrix.individualCount);
  EXPECT_EQ(read->locusCount, c.matrix.locusCount);
  EXPECT_EQ(read->cells, c.matrix.cells);
  EXPECT_EQ(read->individualLabels, layout.individualHeader ? c.matrix.individualLabels
                                                            : MakeDefaultIndividualLabels(c.matrix.individualCount));
  EXPECT_EQ(read->locusLabels, layout.locusHeader ? c.matrix.locusLabels : MakeDefaultLocusLabels(c.matrix.locusCount));
  if (!layout.includeGroups) {
    EXPECT_TRUE(cleaned.empty());
    return;
  }
  const auto told = [&](GroupBlock block) { return std::count(cleaned.begin(), cleaned.end(), block) > 0; };
  ExpectBlockReadsBack(path, c.groups, GroupBlock::Groups, *read, told(GroupBlock::Groups));
  ExpectBlockReadsBack(path, c.locusSets, GroupBlock::LocusSets, *read, told(GroupBlock::LocusSets));
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// The kinds of refusal, each recognised by its message and checked against the case: what the
// message names must be there. Gives the kind, or "" when the message fits none.
std::string RefusalKind(const Case& c, const std::string& message) {
  const FileLayout& l = c.layout;
  const char scores[] = {l.presence, l.absence, l.ambiguity};
  const std::map<std::string, bool> layoutMessages = {
      {"Presence may not be a space, tab, line break or NUL character" + kTail, IsDelimiter(l.presence)},
      {"Absence may not be a space, tab, line break or NUL character" + kTail, IsDelimiter(l.absence)},
      {"Ambiguity may not be a space, tab, line break or NUL character" + kTail, IsDelimiter(l.ambiguity)},
      {"OpenRemark may not be a space, tab, line break or NUL character" + kTail, IsDelimiter(l.openRemark)},
      {"EndOfData may not be a space, tab, line break or NUL character" + kTail, IsDelimiter(l.endOfData)},
      {"Presence, Absence and Ambiguity must be three different characters" + kTail,
       l.presence == l.absence || l.presence == l.ambiguity || l.absence == l.ambiguity},
      {"Presence, Absence and Ambiguity must differ from OpenRemark and EndOfData" + kTail,
       std::any_of(std::begin(scores), std::end(scores),
                   [&](char s) { return s == l.openRemark || s == l.endOfData; })},
      {"OpenRemark and EndOfData must be two different characters" + kTail, l.openRemark == l.endOfData},
      {"With \"Ambiguity negative\" no symbol may be \"-\"" + kTail,
       l.ambiguityNegative && l.delimitedData &&
           std::string({l.presence, l.absence, l.ambiguity, l.openRemark, l.endOfData}).find('-') != std::string::npos},
  };
  if (const auto found = layoutMessages.find(message); found != layoutMessages.end()) {
    return found->second ? "layout" : "";
  }
  if (message == "The data matrix holds no individuals or no loci; a file without scores could not be read again.") {
    return c.matrix.individualCount == 0 || c.matrix.locusCount == 0 ? "empty matrix" : "";
  }
  if (!message.ends_with(kTail)) return "";

  const struct {
    const char* kind;
    bool written;
    const LabelTable& labels;
  } tables[] = {{"individual", l.individualHeader, c.matrix.individualLabels},
                {"locus", l.locusHeader, c.matrix.locusLabels}};
  for (const auto& table : tables) {
    for (std::size_t k = 0; k < table.labels.Count(); ++k) {
      const std::string named = std::string("The ") + table.kind + " name " + QuotedName(table.labels[k]) + " (" +
                                table.kind + " " + std::to_string(k + 1) + ") ";
      if (!StartsWith(message, named)) continue;
      if (!table.written) return "";
      const std::string& name = table.labels[k];
      if (!NameFault(name, true).empty()) return "name";
      const bool reserved = name.find(l.endOfData) != std::string::npos || name.find(l.openRemark) != std::string::npos;
      return reserved ? "name with a reserved character" : "";
    }
  }
  if (!l.includeGroups) return "";
  if (message.find("would read as the block header \"[Groups]\"") != std::string::npos ||
      message.find("would read as the block header \"[LocusSets]\"") != std::string::npos) {
    return "table line as block header";
  }
  const struct {
    const char* kind;
    const GroupList& list;
    const char* memberKind;
    const LabelTable& labels;
  } lists[] = {{"group", c.groups, "individual", c.matrix.individualLabels},
               {"locus set", c.locusSets, "locus", c.matrix.locusLabels}};
  for (const auto& list : lists) {
    for (std::size_t k = 1; k < list.list.size(); ++k) {
      const GroupEntry& entry = list.list[k];
      for (const auto& member : entry.members) {
        const long at = list.labels.Find(member);
        const std::string named = std::string("The ") + list.memberKind + " " + QuotedName(member) + " (" +
                                  list.memberKind + " " + std::to_string(at + 1) + "), a member of the " + list.kind +
                                  " " + QuotedName(entry.name) + ", ";
        if (at >= 0 && member.find_first_of(",;=") != std::string::npos && StartsWith(message, named)) {
          return "label the block cannot hold";
        }
      }
      if (StartsWith(message, std::string("The ") + list.kind + " name " + QuotedName(entry.name) + " ")) {
        return "entry name";
      }
      const std::string named = std::string("The ") + list.kind + " " + QuotedName(entry.name) + " has ";
      if (!StartsWith(message, named)) continue;
      if (StartsWith(message, named + "no members")) return entry.members.empty() ? "entry without members" : "";
      for (const auto& member : entry.members) {
        if (StartsWith(message, named + "the member " + QuotedName(member) + ", which")) return "member name";
      }
    }
  }
  return "";
}

TEST(DataFileRoundTrip, EveryAcceptedFileLoadsBackAndEveryRefusalNamesItsCulprit) {
  TempDir dir(TempDir::MemoryBase());
  const std::string path = dir.File("saved.txt");
  const std::string old = "ind1 ind2\r\n1 0\r\n*\r\n{ the previous file }\r\n";
  Draw draw(kSeed);
  int accepted = 0;
  std::map<std::string, int> refusals;
  for (int n = 0; n < kCases; ++n) {
    SCOPED_TRACE("case " + std::to_string(n) + " of seed " + std::to_string(kSeed));
    const Case c = RandomCase(draw);
    dir.Write("saved.txt", old);
    const auto written = WriteDataFile(path, c.matrix, c.layout, c.groups, c.locusSets);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"saved.txt"});
    if (written.ok()) {
      ++accepted;
      ExpectReadsBack(c, path, *written);
    } else {
      const std::string kind = RefusalKind(c, written.error());
      EXPECT_NE(kind, "") << "a refusal that names no culprit of the case: " << written.error();
      ++refusals[kind];
      EXPECT_EQ(ReadFile(path), old);
      const Status checked = CheckDataFile(c.matrix, c.layout, c.groups, c.locusSets);
      ASSERT_FALSE(checked.ok()) << "a refusal that CheckDataFile does not give: " << written.error();
      EXPECT_EQ(checked.error(), written.error());
    }
    if (::testing::Test::HasFailure()) break;  // one case's story is enough
  }
  if (::testing::Test::HasFailure()) return;
  // The draw reaches both outcomes and every kind of refusal, so the test can fail.
  EXPECT_GE(accepted, kCases / 5);
  for (const char* kind : {"layout", "empty matrix", "name", "name with a reserved character",
                           "table line as block header", "entry name", "entry without members", "member name",
                           "label the block cannot hold"}) {
    EXPECT_GT(refusals[kind], 0) << kind;
  }
}

}  // namespace
}  // namespace vorn
