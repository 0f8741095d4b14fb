#include "core/text_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

std::vector<std::string> AllLines(const std::string& path) {
  auto reader = LineReader::Open(path);
  EXPECT_TRUE(reader.ok());
  std::vector<std::string> lines;
  std::string line;
  while (reader->Next(line)) lines.push_back(line);
  EXPECT_FALSE(reader->Failed());
  return lines;
}

TEST(LineReader, ReadsEveryLineEnd) {
  TempDir dir;
  const auto path = dir.Write("mixed.txt", "crlf\r\nlf\ncr\rlast");
  EXPECT_EQ(AllLines(path), (std::vector<std::string>{"crlf", "lf", "cr", "last"}));
}

TEST(LineReader, EmptyLinesAreLinesButAFinalLineEndIsNot) {
  TempDir dir;
  EXPECT_EQ(AllLines(dir.Write("a.txt", "a\r\n\r\nb\r\n")), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(AllLines(dir.Write("b.txt", "")), std::vector<std::string>{});
  EXPECT_EQ(AllLines(dir.Write("c.txt", "\n")), std::vector<std::string>{""});
  EXPECT_EQ(AllLines(dir.Write("d.txt", "\r\r\n")), (std::vector<std::string>{"", ""}));
}

TEST(LineReader, LineEndSplitAcrossReadChunks) {
  TempDir dir;
  // The reader fetches 64 KiB at a time; put the CR of a CR LF last in the first chunk.
  const std::string first(65535, 'x');
  const auto lines = AllLines(dir.Write("long.txt", first + "\r\n" + "second\r\n"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "second");
}

TEST(LineReader, KeepsNulAndLongLines) {
  TempDir dir;
  const std::string longLine(300000, '1');
  const auto lines = AllLines(dir.Write("nul.txt", std::string("a\0b\n", 4) + longLine));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string("a\0b", 3));
  EXPECT_EQ(lines[1].size(), longLine.size());
}

TEST(LineReader, MissingFileAndFolderFail) {
  TempDir dir;
  EXPECT_FALSE(LineReader::Open(dir.File("none.txt")).ok());
  auto folder = LineReader::Open(dir.Path().string());
  if (folder.ok()) {
    std::string line;
    EXPECT_FALSE(folder->Next(line));
    EXPECT_TRUE(folder->Failed());
  }
}

TEST(TextFileWriter, WritesCrLfAndAppendsOrRewrites) {
  TempDir dir;
  const auto path = dir.File("out.txt");
  {
    auto file = TextFileWriter::Open(path, WriteMode::Rewrite);
    ASSERT_TRUE(file.ok());
    file->Line("one");
    file->Line();
    ASSERT_TRUE(file->Close().ok());
  }
  {
    auto file = TextFileWriter::Open(path, WriteMode::Append);
    file->Write("two");
    file->Line();
    ASSERT_TRUE(file->Close().ok());
  }
  EXPECT_EQ(ReadFile(path), "one\r\n\r\ntwo\r\n");
  {
    auto file = TextFileWriter::Open(path, WriteMode::Rewrite);
    file->Line("new");
    ASSERT_TRUE(file->Close().ok());
  }
  EXPECT_EQ(ReadFile(path), "new\r\n");
}

TEST(TextFileWriter, AWriterDroppedWithoutCloseKeepsItsText) {
  TempDir dir;
  const auto path = dir.File("dropped.txt");
  { auto file = TextFileWriter::Open(path, WriteMode::Rewrite); file->Line("kept"); }
  EXPECT_EQ(ReadFile(path), "kept\r\n");
}

TEST(TextFileWriter, FailuresNameTheFileAndTheReason) {
  TempDir dir;
  auto file = TextFileWriter::Open(dir.File("no/such/folder/out.txt"), WriteMode::Rewrite);
  ASSERT_FALSE(file.ok());
  EXPECT_NE(file.error().find("no/such/folder/out.txt"), std::string::npos);
  EXPECT_NE(file.error().find("No such file or directory"), std::string::npos);
}

TEST(TextFileWriter, DiskFullIsReportedAtClose) {
  if (!FileExists("/dev/full")) GTEST_SKIP();
  auto file = TextFileWriter::Open("/dev/full", WriteMode::Append);
  ASSERT_TRUE(file.ok());
  file->Line("lost");
  const Status closed = file->Close();
  ASSERT_FALSE(closed.ok());
  EXPECT_NE(closed.error().find("No space left on device"), std::string::npos);
}

}  // namespace
}  // namespace vorn
