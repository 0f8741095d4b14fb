#include "core/file_tail.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace vorn {

void FileTail::SetPath(std::string path) {
  path_ = std::move(path);
  seen_ = false;
  offset_ = 0;
}

TailUpdate FileTail::Read() {
  TailUpdate update;
  struct stat info {};
  if (path_.empty() || ::stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    update.restarted = seen_;
    seen_ = false;
    offset_ = 0;
    return update;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  const bool sameFile = seen_ && info.st_dev == device_ && info.st_ino == inode_ && size >= offset_;
  if (sameFile && size == offset_) return update;
  if (!sameFile) {
    update.restarted = true;
    offset_ = 0;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "rb"), &std::fclose);
  if (!file || std::fseek(file.get(), static_cast<long>(offset_), SEEK_SET) != 0) return update;
  char buffer[1 << 16];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) update.text.append(buffer, got);
  offset_ += update.text.size();
  device_ = info.st_dev;
  inode_ = info.st_ino;
  seen_ = true;
  return update;
}

}  // namespace vorn
