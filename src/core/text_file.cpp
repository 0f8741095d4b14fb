#include "core/text_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vorn {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;

Failure SystemFailure(const char* action, const std::string& path, int error) {
  return Failure{std::string(action) + " " + path + ": " + std::strerror(error)};
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

Result<LineReader> LineReader::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return SystemFailure("Cannot open", path, errno);
  return LineReader(file);
}

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(kReadChunk) {}

bool LineReader::Fill() {
  if (failed_) return false;
  length_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  position_ = 0;
  if (length_ == 0 && std::ferror(file_.get())) failed_ = true;
  return length_ > 0;
}

bool LineReader::Next(std::string& line) {
  line.clear();
  if (pendingLineFeed_) {
    pendingLineFeed_ = false;
    if (position_ == length_) Fill();
    if (position_ < length_ && buffer_[position_] == '\n') ++position_;
  }
  bool readSomething = false;
  for (;;) {
    if (position_ == length_ && !Fill()) return readSomething;
    const char* begin = buffer_.data() + position_;
    const char* end = buffer_.data() + length_;
    const char* stop = begin;
    while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
    line.append(begin, stop);
    position_ = static_cast<std::size_t>(stop - buffer_.data());
    readSomething = true;
    if (stop == end) continue;
    ++position_;
    pendingLineFeed_ = *stop == '\r';
    return true;
  }
}

Result<TextFileWriter> TextFileWriter::Open(const std::string& path, WriteMode mode) {
  std::FILE* file = std::fopen(path.c_str(), mode == WriteMode::Rewrite ? "wb" : "ab");
  if (!file) return SystemFailure("Cannot write", path, errno);
  return TextFileWriter(file, path);
}

TextFileWriter::TextFileWriter(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}

void TextFileWriter::Flush() {
  if (!buffer_.empty() && error_ == 0 &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size()) {
    error_ = errno ? errno : EIO;
  }
  buffer_.clear();
  if (error_ == 0 && std::fflush(file_.get()) != 0) error_ = errno;
}

Status TextFileWriter::Close() {
  Flush();
  if (std::fclose(file_.release()) != 0 && error_ == 0) error_ = errno;
  if (error_ != 0) return SystemFailure("Cannot write", path_, error_);
  return Success();
}

Status TouchFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return SystemFailure("Cannot create", path, errno);
  std::fclose(file);
  return Success();
}

}  // namespace vorn
