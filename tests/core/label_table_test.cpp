#include "core/data_matrix.h"
#include "core/label_table.h"
#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(LabelTable, LabelsAreCutToTwentyCharacters) {
  LabelTable table;
  table.Add("abcdefghijklmnopqrstuvwxy");  // 25 characters
  table.Add("exactly_twenty_chars");
  EXPECT_EQ(table[0], "abcdefghijklmnopqrst");
  EXPECT_EQ(table[1], "exactly_twenty_chars");
  EXPECT_EQ(table.Count(), 2u);
}

// Twenty characters, not bytes: a cut never ends inside a character, and text that is not UTF-8
// is read as Windows-1252 first.
TEST(LabelTable, CutsTwentyCharactersOfUtf8) {
  const struct {
    const char* text;
    const char* label;
  } cases[] = {
      {"Bl\xC3\xA5" "b\xC3\xA6rsyltet\xC3\xB8y_\xC3\x98ker\xC3\xB8_2", "Bl\xC3\xA5" "b\xC3\xA6rsyltet\xC3\xB8y_\xC3\x98ker\xC3\xB8"},
      {"nineteen_characters\xE2\x82\xAC\xE2\x82\xAC", "nineteen_characters\xE2\x82\xAC"},
      {"nineteen_characters\xF0\x9F\x98\x80", "nineteen_characters\xF0\x9F\x98\x80"},
      {"M\xFCller", "M\xC3\xBCller"},                                    // Latin-1 (Windows-1252)
      {"abcdefghijklmnopqrs\xE9tude", "abcdefghijklmnopqrs\xC3\xA9"},    // Latin-1, cut after its 20th
  };
  for (const auto& c : cases) EXPECT_EQ(CutLabel(c.text), c.label) << c.text;
}

TEST(LabelTable, DefaultLabelsCountFromOne) {
  EXPECT_EQ(MakeDefaultIndividualLabels(3).All(), (std::vector<std::string>{"OTU1", "OTU2", "OTU3"}));
  EXPECT_EQ(MakeDefaultLocusLabels(2).All(), (std::vector<std::string>{"Locus1", "Locus2"}));
  EXPECT_TRUE(MakeDefaultLocusLabels(0).Empty());
}

TEST(LabelTable, FindComparesExactlyAndCaseSensitively) {
  LabelTable table({"Ka01", "ka01", "Ka01"});
  EXPECT_EQ(table.Find("Ka01"), 0);
  EXPECT_EQ(table.Find("ka01"), 1);
  EXPECT_EQ(table.Find("KA01"), -1);
}

DataMatrix ThreeByTwo() {
  // Individuals A, B, C; locus 1: 1 0 ?, locus 2: 0 0 1.
  DataMatrix m;
  m.individualCount = 3;
  m.locusCount = 2;
  m.cells = {Presence, Absence, Missing, Absence, Absence, Presence};
  m.individualLabels = LabelTable({"A", "B", "C"});
  m.locusLabels = MakeDefaultLocusLabels(2);
  return m;
}

TEST(DataMatrix, CountingQueries) {
  const DataMatrix m = ThreeByTwo();
  EXPECT_EQ(m.At(2, 0), Missing);
  EXPECT_EQ(m.At(2, 1), Presence);
  EXPECT_EQ(m.LocusStateCount(0, Presence), 1u);
  EXPECT_EQ(m.LocusStateCount(1, Absence), 2u);
  EXPECT_EQ(m.IndividualStateCount(1, Absence), 2u);
  EXPECT_EQ(m.IndividualStateCount(2, Missing), 1u);
  EXPECT_EQ(m.IndividualMissingShare(2), 0.5L);
  EXPECT_EQ(m.LocusMissingShare(0), 1.0L / 3);
  EXPECT_EQ(m.LocusMissingShare(1), 0.0L);
}

TEST(DataMatrix, IndividualIndexIsOneBasedWithZeroForNone) {
  const DataMatrix m = ThreeByTwo();
  EXPECT_EQ(IndividualIndex(m, "A"), 1u);
  EXPECT_EQ(IndividualIndex(m, "C"), 3u);
  EXPECT_EQ(IndividualIndex(m, "D"), 0u);
}

TEST(DataMatrix, MembershipMaskMarksNamedLabels) {
  const DataMatrix m = ThreeByTwo();
  const auto mask = MembershipMask(m.individualLabels, {"C", "A", "Z"});
  EXPECT_EQ(mask.mask, (std::vector<std::uint8_t>{1, 0, 1}));
  EXPECT_EQ(mask.memberCount, 2u);
}

TEST(TextEncoding, Windows1252TextsDisplayAsUtf8) {
  EXPECT_EQ(DisplayText("Dice; S\xF8rensen"), "Dice; S\xC3\xB8rensen");
  EXPECT_EQ(DisplayText("\x80 5"), "\xE2\x82\xAC 5");
  EXPECT_EQ(DisplayText("plain"), "plain");
  EXPECT_EQ(DisplayText("S\xC3\xB8rensen"), "S\xC3\xB8rensen");  // already UTF-8
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(TextEncoding, TypedTextReturnsToWindows1252WhereItFits) {
  EXPECT_EQ(ProgramText("Dice; S\xC3\xB8rensen"), "Dice; S\xF8rensen");
  EXPECT_EQ(ProgramText("\xE2\x82\xAC 5"), "\x80 5");             // the euro sign is byte 0x80
  EXPECT_EQ(ProgramText("plain"), "plain");
  EXPECT_EQ(ProgramText("\xE4\xB8\xAD"), "\xE4\xB8\xAD");       // no byte for it: stays UTF-8
  EXPECT_EQ(ProgramText("\xC3\x83\xC2\xA9"), "\xC3\x83\xC2\xA9");  // its bytes would read back as UTF-8
  EXPECT_EQ(ProgramText("\xF8"), "\xF8");                       // not UTF-8: left alone
  for (const char* text : {"Dice; S\xF8rensen", "\x80\x9F\xA0\xFF x"}) {
    EXPECT_EQ(ProgramText(DisplayText(text)), text);
  }
}

// A spreadsheet's "Unicode text" is UTF-16 with a byte-order mark; it reads as the UTF-8 of the
// same text. Without a mark the bytes are left as they are.
TEST(TextEncoding, Utf16FilesReadAsUtf8) {
  using namespace std::string_literals;
  const struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"\xFF\xFE" "a\0\xFC\0\r\0\n\0"s, "a\xC3\xBC\r\n"},                 // little-endian "aü"
      {"\xFE\xFF" "\0a\x01\x52"s, "a\xC5\x92"},                              // big-endian "aŒ"
      {"\xFF\xFE" "\x3D\xD8\x00\xDE"s, "\xF0\x9F\x98\x80"},                   // a surrogate pair
      {"\xFF\xFE" "\x00\xD8" "a\0"s, "\xEF\xBF\xBD" "a"},                     // a lone surrogate
      {"\xFF\xFE" "a\0b"s, "a\xEF\xBF\xBD"},                                  // a last odd byte
      {"\xFF\xFE"s, ""},
      {"a\xFC\0b"s, "a\xFC\0b"s},                                              // no mark: as it is
  };
  for (const auto& c : cases) EXPECT_EQ(FileText(c.bytes), c.text) << c.text;
}

}  // namespace
}  // namespace vorn
