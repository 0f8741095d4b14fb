// FileTail: follows a text file that the program appends to or rewrites, reading only what was
// added since the last look. A file that was replaced (a rewrite puts a new file in its place) or
// became shorter is read again whole, and a file that vanished reads as empty.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

struct TailUpdate {
  bool restarted = false;  // the text so far is void: text is the whole file
  std::string text;        // bytes added (or the whole file when restarted)
};

class FileTail {
 public:
  explicit FileTail(std::string path = {}) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // Follows another file from its start.
  void SetPath(std::string path);
  // What changed since the last call; nothing when the file is as it was.
  TailUpdate Read();

 private:
  std::string path_;
  std::uint64_t offset_ = 0;
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  bool seen_ = false;  // offset_ and the identity describe a file that was read
};

}  // namespace vorn
