#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_access.h"
#include "core/text_lines.h"
#include "support/file_failures.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::Entries;
using testing::FileSizeLimit;
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

TEST(LineReader, ReadsUtf16FilesAsUtf8Lines) {
  TempDir dir;
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"a\u00FC b\r\n1 0\r\n")) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  EXPECT_EQ(AllLines(dir.Write("unicode.txt", utf16)), (std::vector<std::string>{"a\xC3\xBC b", "1 0"}));
  // Longer than one read of the file: the whole file is decoded.
  std::string longer = "\xFE\xFF";
  for (int i = 0; i < 40000; ++i) longer += std::string("\0x\0\n", 4);
  EXPECT_EQ(AllLines(dir.Write("long.txt", longer)), std::vector<std::string>(40000, "x"));
}

TEST(LineReader, EmptyLinesAreLinesButAFinalLineEndIsNot) {
  TempDir dir;
  EXPECT_EQ(AllLines(dir.Write("a.txt", "a\r\n\r\nb\r\n")), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(AllLines(dir.Write("b.txt", "")), std::vector<std::string>{});
  EXPECT_EQ(AllLines(dir.Write("c.txt", "\n")), std::vector<std::string>{""});
  EXPECT_EQ(AllLines(dir.Write("d.txt", "\r\r\n")), (std::vector<std::string>{"", ""}));
}

// Files and in-memory texts (command scripts) split into the same lines.
TEST(LineReader, SkipsAByteOrderMarkAsTextLinesDo) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"\xEF\xBB\xBF" "a\rb\r", {"a", "b"}},
      {"\xEF\xBB\xBF", {}},
      {"a\r\n\nb", {"a", "", "b"}},
      {"x\xEF\xBB\xBF\r\xEF\xBB\xBFy", {"x\xEF\xBB\xBF", "\xEF\xBB\xBFy"}},  // only the file's first bytes
  };
  TempDir dir;
  for (const auto& c : cases) {
    EXPECT_EQ(AllLines(dir.Write("bom.txt", c.text)), c.lines);
    const auto lines = TextLines(c.text);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.lines);
  }
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

TEST(TextFileWriter, WritesCrLfAndAppendsOrReplaces) {
  TempDir dir;
  const auto path = dir.File("out.txt");
  {
    auto file = TextFileWriter::Open(path, WriteMode::Replace);
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
    auto file = TextFileWriter::Open(path, WriteMode::Replace);
    file->Line("new");
    ASSERT_TRUE(file->Close().ok());
  }
  EXPECT_EQ(ReadFile(path), "new\r\n");
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"out.txt"});
}

TEST(TextFileWriter, AnAppendingWriterDroppedWithoutCloseKeepsItsText) {
  TempDir dir;
  const auto path = dir.Write("dropped.txt", "old\r\n");
  { auto file = TextFileWriter::Open(path, WriteMode::Append); file->Line("kept"); }
  EXPECT_EQ(ReadFile(path), "old\r\nkept\r\n");
}

TEST(TextFileWriter, FailuresNameTheFileAndTheReason) {
  TempDir dir;
  for (WriteMode mode : {WriteMode::Replace, WriteMode::Append}) {
    auto file = TextFileWriter::Open(dir.File("no/such/folder/out.txt"), mode);
    ASSERT_FALSE(file.ok());
    EXPECT_NE(file.error().find("no/such/folder/out.txt"), std::string::npos);
    EXPECT_NE(file.error().find("No such file or directory"), std::string::npos);
  }
  EXPECT_EQ(Entries(dir), std::vector<std::string>{});
}

TEST(TextFileWriter, DiskFullIsReportedAtClose) {
  if (!FileExists("/dev/full")) GTEST_SKIP();
  // A device cannot be replaced by renaming: a replacing writer writes it in place.
  for (WriteMode mode : {WriteMode::Replace, WriteMode::Append}) {
    auto file = TextFileWriter::Open("/dev/full", mode);
    ASSERT_TRUE(file.ok());
    file->Line("lost");
    const Status closed = file->Close();
    ASSERT_FALSE(closed.ok());
    EXPECT_EQ(closed.error(), "Cannot write /dev/full: No space left on device");
  }
}

TEST(TextFileWriter, AFailedFlushIsKeptAndLaterTextDropped) {
  if (!FileExists("/dev/full")) GTEST_SKIP();
  auto file = TextFileWriter::Open("/dev/full", WriteMode::Append);
  ASSERT_TRUE(file.ok());
  EXPECT_TRUE(file->Written().ok());
  file->Line("lost");
  file->Flush();
  EXPECT_EQ(file->Written().error(), "Cannot write /dev/full: No space left on device");
  file->Line("dropped");
  EXPECT_FALSE(file->Close().ok());
}

// A failed append takes its text back: the file is as long as before, and a file the append
// created is gone. Kept text (the log's earlier lines) stays.
TEST(TextFileWriter, AFailedAppendLeavesTheFileAsItWas) {
  const std::string old = "old block\r\n12.250000000\r\n";
  const struct {
    const char* name;
    bool exists;
    bool keepFirstLine;
    bool closeInsteadOfDrop;
  } cases[] = {
      {"grown.txt", true, false, true},   {"dropped.txt", true, false, false},
      {"kept.txt", true, true, true},     {"new.txt", false, false, true},
      {"new_kept.txt", false, true, true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = c.exists ? dir.Write(c.name, old) : dir.File(c.name);
    std::string expected = c.exists ? old : "";
    {
      FileSizeLimit full(100);  // writes past 100 bytes fail as on a full disk
      auto file = TextFileWriter::Open(path, WriteMode::Append);
      ASSERT_TRUE(file.ok()) << c.name;
      if (c.keepFirstLine) {
        file->Line("first");
        file->Keep();
        expected += "first\r\n";
      }
      for (int line = 0; line < 50; ++line) file->Line("0.123456789\t0.987654321");
      if (c.closeInsteadOfDrop) {
        EXPECT_EQ(file->Close().error(), "Cannot write " + path + ": File too large") << c.name;
      }
    }
    EXPECT_EQ(FileExists(path), c.exists || c.keepFirstLine) << c.name;
    if (FileExists(path)) {
      EXPECT_EQ(ReadFile(path), expected) << c.name;
    }
  }
}

// Two files written together: either both are written or neither.
TEST(TextFileWriter, SettledWritersAreDiscardedOrClosedTogether) {
  TempDir dir;
  const std::string copy = dir.Write("copy.txt", "old copy\r\n");
  const std::string appended = dir.Write("analysis.txt", "old analysis\r\n");
  for (bool keep : {false, true}) {
    auto replacing = TextFileWriter::Open(copy, WriteMode::Replace);
    auto appending = TextFileWriter::Open(appended, WriteMode::Append);
    replacing->Line("new copy");
    appending->Line("new block");
    ASSERT_TRUE(replacing->Settle().ok());
    ASSERT_TRUE(appending->Settle().ok());
    EXPECT_EQ(ReadFile(copy), "old copy\r\n");
    if (keep) {
      ASSERT_TRUE(replacing->Close().ok());
      ASSERT_TRUE(appending->Close().ok());
    } else {
      replacing->Discard();
      appending->Discard();
    }
    EXPECT_EQ(ReadFile(copy), keep ? "new copy\r\n" : "old copy\r\n");
    EXPECT_EQ(ReadFile(appended), keep ? "old analysis\r\nnew block\r\n" : "old analysis\r\n");
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"analysis.txt", "copy.txt"}));
  }
}

// The replacing writer on a real file: the old file stays, byte for byte, until the new one is
// whole, and no temporary file is left behind whatever happens.
class ReplaceFileTest : public ::testing::Test {
 protected:
  const std::string kOld = std::string("old contents\r\nsecond line\0 with a NUL\r\n", 40);

  TempDir dir;
  std::string path = dir.Write("data.txt", kOld);
};

TEST_F(ReplaceFileTest, TheOldFileStaysUntilTheNewOneIsClosed) {
  auto file = TextFileWriter::Open(path, WriteMode::Replace);
  ASSERT_TRUE(file.ok());
  file->Line(std::string(3 << 20, 'x'));  // past the writer's buffer: part of it reaches the disk
  EXPECT_EQ(ReadFile(path), kOld);
  EXPECT_EQ(Entries(dir).size(), 2u);  // the file and the temporary one beside it
  ASSERT_TRUE(file->Close().ok());
  EXPECT_EQ(ReadFile(path), std::string(3 << 20, 'x') + "\r\n");
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"data.txt"});
}

TEST_F(ReplaceFileTest, AWriterDroppedWithoutCloseLeavesTheOldFile) {
  {
    auto file = TextFileWriter::Open(path, WriteMode::Replace);
    file->Line("half");
    file->Flush();
  }
  EXPECT_EQ(ReadFile(path), kOld);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"data.txt"});
}

TEST_F(ReplaceFileTest, AFullDiskLeavesTheOldFile) {
  Status closed = Success();
  {
    FileSizeLimit full(100);  // writes past 100 bytes fail as on a full disk
    auto file = TextFileWriter::Open(path, WriteMode::Replace);
    ASSERT_TRUE(file.ok());
    for (int line = 0; line < 50; ++line) file->Line("a line of the new file");
    closed = file->Close();
  }
  ASSERT_FALSE(closed.ok());
  EXPECT_EQ(closed.error(), "Cannot write " + path + ": File too large");
  EXPECT_EQ(ReadFile(path), kOld);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"data.txt"});
}

TEST_F(ReplaceFileTest, AFailedRenameLeavesNoTemporaryFile) {
  const std::string target = dir.File("target.txt");
  auto file = TextFileWriter::Open(target, WriteMode::Replace);
  ASSERT_TRUE(file.ok());
  file->Line("new");
  // Something put a folder with content in the target's place meanwhile.
  std::filesystem::create_directory(target);
  dir.Write("target.txt/inside.txt", "x");
  const Status closed = file->Close();
  ASSERT_FALSE(closed.ok());
  EXPECT_EQ(closed.error(), "Cannot write " + target + ": Is a directory");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"data.txt", "target.txt"}));
  EXPECT_EQ(ReadFile(path), kOld);
}

TEST_F(ReplaceFileTest, AFolderIsNotReplaced) {
  std::filesystem::create_directory(dir.File("folder"));
  const auto file = TextFileWriter::Open(dir.File("folder"), WriteMode::Replace);
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.error(), "Cannot write " + dir.File("folder") + ": Is a directory");
}

// A file is replaced only when its user could have written it in place: renaming over it
// needs only the folder's permission. (Tests run as root; tests/core/unprivileged_replace.cmake
// runs the program as an ordinary user.)
TEST(MayWriteInPlace, FollowsTheWriteBitOfTheUsersClass) {
  const FileUser user{1000, 100, {20, 30}};
  const struct {
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool writable;
  } cases[] = {
      {1000, 100, 0644, true},  {1000, 100, 0444, false}, {1000, 100, 0466, false},  // the owner's bit only
      {2000, 100, 0664, true},  {2000, 30, 0664, true},   {2000, 100, 0646, false},  // a group of the user
      {2000, 50, 0646, true},   {2000, 50, 0664, false},  {0, 0, 0644, false},       // everybody else
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MayWriteInPlace(c.owner, c.group, c.mode, user), c.writable) << std::oct << c.mode << " " << c.owner;
  }
  EXPECT_TRUE(MayWriteInPlace(1000, 100, 0444, FileUser{0, 0, {}}));  // the superuser writes any file
}

TEST_F(ReplaceFileTest, TheNewFileKeepsTheOldOnesPermissions) {
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(ReplaceFileWhole(path, [](TextFileWriter& file) {
                file.Line("new");
                return Success();
              }).ok());
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReplaceFileTest, ALinkKeepsPointingAtTheReplacedFile) {
  namespace fs = std::filesystem;
  fs::create_directory(dir.File("real"));
  const std::string real = dir.Write("real/data.txt", kOld);
  const std::string link = dir.File("link.txt");
  fs::create_symlink(real, link);
  ASSERT_TRUE(ReplaceFileWhole(link, [](TextFileWriter& file) {
                file.Line("new");
                return Success();
              }).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "new\r\n");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"data.txt", "link.txt", "real"}));
}

// A link to a file not made yet (also relative, or through another link) keeps pointing at it:
// the file it names is created. A link whose folder is missing is refused, saying why.
TEST_F(ReplaceFileTest, ADanglingLinkGetsTheFileItNames) {
  namespace fs = std::filesystem;
  fs::create_directory(dir.File("real"));
  const struct {
    const char* link;
    std::string pointsAt;
    const char* created;  // nullptr: refused
  } cases[] = {
      {"absolute.txt", dir.File("real/absolute_target.txt"), "real/absolute_target.txt"},
      {"relative.txt", "real/relative_target.txt", "real/relative_target.txt"},
      {"chain.txt", "relative_again.txt", "real/again_target.txt"},
      {"nowhere.txt", "missing/target.txt", nullptr},
  };
  fs::create_symlink("real/again_target.txt", dir.File("relative_again.txt"));
  for (const auto& c : cases) {
    const std::string link = dir.File(c.link);
    fs::create_symlink(c.pointsAt, link);
    const Status written = ReplaceFileWhole(link, [](TextFileWriter& file) {
      file.Line("new");
      return Success();
    });
    EXPECT_TRUE(fs::is_symlink(link)) << c.link;
    if (c.created) {
      ASSERT_TRUE(written.ok()) << written.error();
      EXPECT_EQ(ReadFile(dir.File(c.created)), "new\r\n") << c.link;
    } else {
      EXPECT_EQ(written.error(), "Cannot write " + link + ": No such file or directory");
    }
  }
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"absolute.txt", "chain.txt", "data.txt", "nowhere.txt", "real",
                                                    "relative.txt", "relative_again.txt"}));
}

TEST_F(ReplaceFileTest, ReplaceFileWholeKeepsTheOldFileWhenTheWritingFails) {
  const Status refused = ReplaceFileWhole(path, [](TextFileWriter& file) -> Status {
    file.Line("the start of a file that is never finished");
    return Failure{"refused half-way"};
  });
  EXPECT_EQ(refused.error(), "refused half-way");
  EXPECT_EQ(ReadFile(path), kOld);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"data.txt"});
}

}  // namespace
}  // namespace vorn
