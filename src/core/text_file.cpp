#include "core/text_file.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "core/file_access.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace vorn {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;

Failure SystemFailure(const char* action, const std::string& path, int error) {
  return Failure{std::string(action) + " " + path + ": " + std::strerror(error)};
}

// A fresh file beside target, opened for writing; its name starts with a dot and the target's
// name, so that a leftover (after a crash) shows what it belonged to.
Result<std::FILE*> CreateTemporaryBeside(const std::string& path, const std::string& target, std::string& temporary,
                                         const struct stat* replaced) {
  static std::atomic<unsigned> counter = 0;
  const std::filesystem::path targetPath(target);
  const std::filesystem::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
  std::string base = targetPath.filename().string();
  if (base.size() > 200) base.resize(200);  // leaves room for the suffix within a name's 255 bytes
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = (folder / ("." + base + ".vorn" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                           ".tmp")).string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return SystemFailure("Cannot write", path, errno);
    }
    if (replaced) {
      // The new file takes the old one's owner where the system allows it (as root), else at
      // least its group (one the user belongs to), and its mode.
      if (replaced->st_uid != ::geteuid() || replaced->st_gid != ::getegid()) {
        if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
          [[maybe_unused]] const int grouped = ::fchown(fd, static_cast<uid_t>(-1), replaced->st_gid);
        }
      }
      ::fchmod(fd, replaced->st_mode & 07777);
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
      const int error = errno;
      ::close(fd);
      ::unlink(temporary.c_str());
      return SystemFailure("Cannot write", path, error);
    }
    return file;
  }
  return SystemFailure("Cannot write", path, EEXIST);
}

// The file a chain of symbolic links ends at, whether it exists yet or not (each link's text is
// taken from the link's folder), or path itself when it is no link. Replacing that file rather
// than the link keeps the link pointing where it did.
Result<std::string> LinkedFile(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path file(path);
  for (int hop = 0; hop < 40; ++hop) {  // the system's own limit on a chain of links
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return file.string();
    const fs::path named = fs::read_symlink(file, error);
    if (error) return SystemFailure("Cannot write", path, error.value());
    file = named.is_absolute() ? named : file.parent_path() / named;
  }
  return SystemFailure("Cannot write", path, ELOOP);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

Result<LineReader> LineReader::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return SystemFailure("Cannot open", path, errno);
  LineReader reader(file);
  if (!reader.Fill()) return reader;
  const std::string_view start(reader.buffer_.data(), reader.length_);
  // A byte-order mark is no text: the first line starts after it.
  if (start.starts_with(kByteOrderMark)) reader.position_ = kByteOrderMark.size();
  if (StartsWithUtf16ByteOrderMark(start)) reader.DecodeUtf16();
  return reader;
}

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(kReadChunk) {}

void LineReader::DecodeUtf16() {
  std::string bytes(buffer_.data(), length_);
  while (Fill()) bytes.append(buffer_.data(), length_);
  if (failed_) return;
  const std::string text = FileText(std::move(bytes));
  buffer_.assign(text.begin(), text.end());
  buffer_.resize(std::max(buffer_.size(), kReadChunk));
  length_ = text.size();
  position_ = 0;
}

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
  if (mode == WriteMode::Append) {
    // Whether the file is new decides what a failure takes back: the file, or the text added.
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool created = fd >= 0;
    if (!created && errno == EEXIST) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return SystemFailure("Cannot write", path, errno);
    std::FILE* file = ::fdopen(fd, "ab");
    if (!file) {
      const int error = errno;
      ::close(fd);
      if (created) ::unlink(path.c_str());
      return SystemFailure("Cannot write", path, error);
    }
    TextFileWriter writer(file, path, path, "", false);
    struct stat opened;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
      writer.keptLength_ = opened.st_size;
      writer.created_ = created;
    }
    return writer;
  }
  struct stat existing;
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return SystemFailure("Cannot write", path, EISDIR);
  if (exists && !S_ISREG(existing.st_mode)) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return SystemFailure("Cannot write", path, errno);
    return TextFileWriter(file, path, path, "", true);
  }
  auto target = LinkedFile(path);
  if (!target) return Failure{target.error()};
  // Renaming over the file needs only the folder's permission: the file is replaced only when the
  // user could have written it in place, so a read-only file or another user's stays as it is.
  if (exists && !MayWriteInPlace(existing.st_uid, existing.st_gid, existing.st_mode, FileUser::Current())) {
    return SystemFailure("Cannot write", path, EACCES);
  }
  std::string temporary;
  auto file = CreateTemporaryBeside(path, *target, temporary, exists ? &existing : nullptr);
  if (!file) return Failure{file.error()};
  return TextFileWriter(*file, path, std::move(*target), std::move(temporary), true);
}

TextFileWriter::TextFileWriter(std::FILE* file, std::string path, std::string target, std::string temporary,
                               bool replacing)
    : file_(file),
      path_(std::move(path)),
      target_(std::move(target)),
      temporary_(std::move(temporary)),
      replacing_(replacing) {}

TextFileWriter::TextFileWriter(TextFileWriter&& other) noexcept
    : file_(std::move(other.file_)),
      path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      buffer_(std::move(other.buffer_)),
      error_(other.error_),
      replacing_(other.replacing_),
      keptLength_(other.keptLength_),
      created_(other.created_),
      lineEnds_(other.lineEnds_) {}

TextFileWriter& TextFileWriter::operator=(TextFileWriter&& other) noexcept {
  if (this != &other) {
    Abandon();
    file_ = std::move(other.file_);
    path_ = std::move(other.path_);
    target_ = std::move(other.target_);
    temporary_ = std::exchange(other.temporary_, {});
    buffer_ = std::move(other.buffer_);
    error_ = other.error_;
    replacing_ = other.replacing_;
    keptLength_ = other.keptLength_;
    created_ = other.created_;
    lineEnds_ = other.lineEnds_;
  }
  return *this;
}

void TextFileWriter::Abandon() {
  if (!file_) return;
  if (!replacing_) Flush();
  file_.reset();
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

void TextFileWriter::Flush() {
  if (!file_) return;
  if (!buffer_.empty() && error_ == 0) {
    errno = 0;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size()) Fail(errno ? errno : EIO);
  }
  buffer_.clear();
  if (error_ == 0 && std::fflush(file_.get()) != 0) Fail(errno ? errno : EIO);
}

void TextFileWriter::Keep() {
  Flush();
  struct stat written;
  if (error_ == 0 && keptLength_ >= 0 && ::fstat(::fileno(file_.get()), &written) == 0) {
    keptLength_ = written.st_size;
    created_ = false;
  }
}

Status TextFileWriter::Settle() {
  FlushToDisk();
  return Written();
}

void TextFileWriter::FlushToDisk() {
  if (!file_) return;
  Flush();
  // A failure the disk reports only now (a full or failing disk, a network folder) still keeps
  // the old file. Devices and pipes cannot be flushed to a disk and need not be.
  if (error_ == 0 && ::fsync(::fileno(file_.get())) != 0 && errno != EINVAL && errno != ENOTSUP) Fail(errno);
}

void TextFileWriter::Discard() {
  if (!file_) return;
  buffer_.clear();
  Fail(ECANCELED);
  Abandon();
}

void TextFileWriter::Fail(int error) {
  if (error_ != 0) return;
  error_ = error;
  // What the system did not take stays in the stream's buffer, and closing would write it
  // after the cut (once the cut freed room on a full disk): it is dropped.
  if (file_) ::__fpurge(file_.get());
  TakeBackAppended();
}

void TextFileWriter::TakeBackAppended() {
  if (replacing_ || keptLength_ < 0) return;
  if (created_) {
    ::unlink(path_.c_str());
  } else {
    [[maybe_unused]] const int cut = ::truncate(path_.c_str(), keptLength_);
  }
  keptLength_ = -1;
}

Status TextFileWriter::Written() const {
  if (error_ != 0) return SystemFailure("Cannot write", path_, error_);
  return Success();
}

Status TextFileWriter::Close() {
  if (!file_) return Written();
  // The text must be on the disk before its name replaces the old file's.
  FlushToDisk();
  if (std::fclose(file_.release()) != 0) Fail(errno ? errno : EIO);
  if (!temporary_.empty()) {
    if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) error_ = errno;
    if (error_ != 0) ::unlink(temporary_.c_str());
    temporary_.clear();
  }
  if (error_ == 0) WrittenFileRecorder::Note({path_, lineEnds_, replacing_});
  return Written();
}

namespace {
thread_local WrittenFileRecorder* innermostRecorder = nullptr;
}  // namespace

WrittenFileRecorder::WrittenFileRecorder() : outer_(innermostRecorder) { innermostRecorder = this; }

WrittenFileRecorder::~WrittenFileRecorder() { innermostRecorder = outer_; }

void WrittenFileRecorder::Note(WrittenFile file) {
  if (innermostRecorder) innermostRecorder->files_.push_back(std::move(file));
}

Status ReplaceFileWhole(const std::string& path, const std::function<Status(TextFileWriter&)>& write) {
  auto file = TextFileWriter::Open(path, WriteMode::Replace);
  if (!file) return Failure{file.error()};
  // A failed write drops the writer, which removes its temporary file.
  if (auto written = write(*file); !written) return written;
  return file->Close();
}

Status ReplaceFileWithText(const std::string& path, std::string_view text) {
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Write(text);
    return Status(Success());
  });
}

Status TouchFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return SystemFailure("Cannot create", path, errno);
  std::fclose(file);
  return Success();
}

}  // namespace vorn
