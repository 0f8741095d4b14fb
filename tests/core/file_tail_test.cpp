// FileTail: only the added text after an append; the whole file again after a rewrite (a new file
// put in place), a shorter file or a file that vanished.
#include "core/file_tail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/text_file.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

void Append(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::app | std::ios::binary) << text; }

TEST(FileTail, ReadsWhatWasAddedAndStartsAgainWhenTheFileIsReplaced) {
  testing::TempDir dir;
  const std::string path = dir.File("analysis.txt");
  FileTail tail(path);
  EXPECT_EQ(tail.Read().text, "");  // not there yet

  Append(path, "one\r\n");
  TailUpdate update = tail.Read();
  EXPECT_TRUE(update.restarted);
  EXPECT_EQ(update.text, "one\r\n");
  EXPECT_EQ(tail.Read().text, "");  // nothing new

  Append(path, "two\r\n");
  update = tail.Read();
  EXPECT_FALSE(update.restarted);
  EXPECT_EQ(update.text, "two\r\n");

  // A rewrite puts a new, longer file in place: it is read whole.
  ASSERT_TRUE(ReplaceFileWhole(path, [](TextFileWriter& file) {
    file.Line("new first line");
    return Success();
  }));
  update = tail.Read();
  EXPECT_TRUE(update.restarted);
  EXPECT_EQ(update.text, "new first line\r\n");

  std::filesystem::resize_file(path, 3);  // shorter in place
  update = tail.Read();
  EXPECT_TRUE(update.restarted);
  EXPECT_EQ(update.text, "new");

  std::filesystem::remove(path);
  update = tail.Read();
  EXPECT_TRUE(update.restarted);
  EXPECT_EQ(update.text, "");
}

TEST(WrittenFileRecorder, CollectsTheFilesClosedWithoutFailureWithTheirLines) {
  testing::TempDir dir;
  const WrittenFileRecorder recorder;
  {
    const WrittenFileRecorder inner;  // the innermost recorder collects
    ASSERT_TRUE(ReplaceFileWhole(dir.File("inner.txt"), [](TextFileWriter&) { return Success(); }));
    EXPECT_EQ(inner.Files().size(), 1u);
  }
  auto file = TextFileWriter::Open(dir.File("a.txt"), WriteMode::Append);
  ASSERT_TRUE(file);
  file->Line("x");
  file->Write("y\r\nz\r\n");
  ASSERT_TRUE(file->Close());
  EXPECT_FALSE(ReplaceFileWhole(dir.File("no/such/folder.txt"), [](TextFileWriter&) { return Success(); }));
  ASSERT_EQ(recorder.Files().size(), 1u);
  EXPECT_EQ(recorder.Files()[0].path, dir.File("a.txt"));
  EXPECT_EQ(recorder.Files()[0].lines, 3u);
  EXPECT_FALSE(recorder.Files()[0].replaced);
}

}  // namespace
}  // namespace vorn
