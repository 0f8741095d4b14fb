#include "core/sha256.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace vorn {
namespace {

// The standard's examples and the block-boundary lengths where the padding takes a second block.
TEST(Sha256, MatchesKnownDigests) {
  const struct {
    std::string bytes;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
  };
  for (const auto& c : cases) EXPECT_EQ(Sha256Hex(c.bytes), c.digest) << c.bytes.size() << " bytes";
}

// A file read piece by piece: a million "a" (the standard's long example), and one of three
// pieces and some bytes against the digest of its bytes at once.
TEST(Sha256, ReadsAFileInPieces) {
  testing::TempDir dir;
  const std::string path = (dir.Path() / "bytes.bin").string();
  std::ofstream(path, std::ios::binary) << std::string(1000000, 'a');
  EXPECT_EQ(*FileSha256(path), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  std::string bytes;
  for (std::size_t i = 0; i < 3 * (std::size_t{1} << 20) + 61; ++i) bytes += static_cast<char>(i * 7919 % 251);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_EQ(*FileSha256(path), Sha256Hex(bytes));
}

TEST(Sha256, NamesAFileItCannotRead) {
  const auto digest = FileSha256("no/such/file.txt");
  ASSERT_FALSE(digest.ok());
  EXPECT_EQ(digest.error(), "Cannot read no/such/file.txt to compute its SHA-256.");
}

}  // namespace
}  // namespace vorn
