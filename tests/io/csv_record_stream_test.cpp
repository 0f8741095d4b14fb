// The record stream: the records and row numbers of a file read in blocks are those of the
// tokenizer over the whole text, whatever falls on a block's end (a quoted line break, a CR LF
// cut in two, a bare CR); a UTF-16 file is read as its text.
#include "io/csv_record_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::TempDir;

// Every record as "row:field|field|...", read by the tokenizer or by the stream.
std::vector<std::string> Records(CsvRecordStream& stream) {
  std::vector<std::string> records;
  for (auto more = stream.Next(); more && *more; more = stream.Next()) {
    const CsvTokenizer& record = stream.Record();
    std::string text = std::to_string(record.Row()) + ":";
    for (std::size_t f = 0; f < record.FieldCount(); ++f) text += (f ? "|" : "") + std::string(record.Field(f));
    records.push_back(text);
  }
  return records;
}

// Rows of about 1000 bytes, so that block ends (every 1 MiB) fall inside rows, some of them in a
// quoted field that holds a line break, some between the CR and the LF of a line end.
std::string LongText(const std::string& lineEnd) {
  std::string text;
  for (int row = 0; row < 3000; ++row) {
    text += std::to_string(row) + ",\"quoted" + lineEnd + "break, " + std::to_string(row * 7) + "\"," +
            std::string(960 + row % 17, row % 2 ? '1' : '0') + lineEnd;
  }
  return text;
}

TEST(CsvRecordStream, FileInBlocksGivesTheRecordsOfTheWholeText) {
  TempDir dir;
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    const std::string text = LongText(lineEnd);
    auto whole = CsvRecordStream::FromText(text, ',');
    const std::vector<std::string> expected = Records(whole);
    ASSERT_EQ(expected.size(), 3000u);
    auto stream = CsvRecordStream::Open(dir.Write("long.csv", text), ',');
    ASSERT_TRUE(stream.ok()) << stream.error();
    EXPECT_EQ(Records(*stream), expected) << "line end " << lineEnd.size();
  }
}

TEST(CsvRecordStream, Utf16FileAndSeparatorLineReadAsTheirText) {
  TempDir dir;
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("a;b\r\n1;2\r\n")) utf16 += std::string{c, '\0'};
  auto stream = CsvRecordStream::Open(dir.Write("u.csv", utf16));
  ASSERT_TRUE(stream.ok()) << stream.error();
  EXPECT_EQ(stream->Separator(), ';');
  EXPECT_EQ(Records(*stream), (std::vector<std::string>{"1:a|b", "2:1|2"}));
  auto named = CsvRecordStream::Open(dir.Write("s.csv", "\xEF\xBB\xBFsep=,\r\na;b,c\r\n"));
  ASSERT_TRUE(named.ok());
  EXPECT_EQ(Records(*named), (std::vector<std::string>{"1:a;b|c"}));
  auto missing = CsvRecordStream::Open(dir.File("none.csv"));
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "Cannot read " + dir.File("none.csv") + ": No such file or directory");
}

}  // namespace
}  // namespace vorn
