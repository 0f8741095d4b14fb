// Plain text files: reading line by line with any line end (CR LF, LF or CR), UTF-16 files (with
// their byte-order mark) as UTF-8, and writing with CR LF line ends. Failures carry the system's reason, ready to be shown to the user.
//
// Every file the program writes anew goes through TextFileWriter in WriteMode::Replace (or
// ReplaceFileWhole): the text goes to a temporary file in the target's folder, and only when
// every write, the flush to disk and the close succeeded is that file renamed over the target,
// which on one file system replaces it at once. Until then, and whenever something fails, the
// previous file stays as it was, byte for byte, and the temporary file is removed.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vorn {

bool FileExists(const std::string& path);

class LineReader {
 public:
  static Result<LineReader> Open(const std::string& path);

  // Reads the next line without its line end; false at the end of the file or on a read error.
  bool Next(std::string& line);
  // True when reading stopped because the system reported an error.
  bool Failed() const { return failed_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit LineReader(std::FILE* file);
  bool Fill();
  // A UTF-16 file (its byte-order mark at the start of the buffer) is read whole and its lines
  // are served from its UTF-8 text.
  void DecodeUtf16();

  std::unique_ptr<std::FILE, Closer> file_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool pendingLineFeed_ = false;  // a CR ended the last line; a LF right after it belongs to it
  bool failed_ = false;
};

enum class WriteMode {
  // A new file that replaces the old one whole at Close, and only then. The new file keeps the
  // old one's permission bits (and its owner, where the system allows); a symbolic link keeps
  // pointing where it did and the file it names is replaced. A target that is no regular file
  // (a device such as /dev/stdout, a pipe) cannot be replaced and is written in place.
  Replace,
  // Text added at the end of the file, which is created when missing. A failed append takes its
  // text back out: the file is cut back to its old length (and a file it created is removed).
  Append,
};

class TextFileWriter {
 public:
  static Result<TextFileWriter> Open(const std::string& path, WriteMode mode);
  TextFileWriter(TextFileWriter&& other) noexcept;
  TextFileWriter& operator=(TextFileWriter&& other) noexcept;
  // A writer dropped without Close (a command that stopped half-way): an appending one still
  // writes what it has (all or nothing); a replacing one removes its temporary file and leaves
  // the old file.
  ~TextFileWriter() { Abandon(); }

  void Write(std::string_view text) {
    buffer_.append(text);
    lineEnds_ += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (buffer_.size() >= kFlushSize) Flush();
  }
  // Writes text and CR LF.
  void Line(std::string_view text = {}) { Write(text); Write("\r\n"); }
  // Hands what is buffered to the system now.
  void Flush();
  // Flush, after which an appending writer keeps what it has written even if a later write fails:
  // a file that stays open, such as the log, loses only the line that failed.
  void Keep();
  // Writes what is buffered and flushes the file to the disk, so that every failure of the
  // writing is known: Close then only puts the file in place (or closes it). Lets two files be
  // written all or nothing together: settle both, then close both, or discard both.
  Status Settle();
  // Drops what this writer wrote: a replacing one removes its temporary file, an appending one
  // cuts the file back.
  void Discard();
  // The first failure of a write so far (naming the file and the reason), or success. Once a
  // write failed, later text is dropped.
  Status Written() const;
  // Writes what is buffered and closes the file; when replacing, also flushes it to disk and puts
  // it in the target's place. The failure names the file and the reason.
  Status Close();

  const std::string& Path() const { return path_; }
  // The lines written through this writer so far.
  std::size_t LinesWritten() const { return lineEnds_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  static constexpr std::size_t kFlushSize = 1 << 20;
  TextFileWriter(std::FILE* file, std::string path, std::string target, std::string temporary, bool replacing);
  void Abandon();
  void FlushToDisk();
  // Notes the first failure; an appending writer then takes its text back out of the file.
  void Fail(int error);
  void TakeBackAppended();

  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;       // as the caller named it, for messages
  std::string target_;     // the file a replacing writer puts itself in place of
  std::string temporary_;  // the file a replacing writer writes; empty when writing in place
  std::string buffer_;
  int error_ = 0;  // errno of the first failed write
  bool replacing_ = false;
  // An appending writer on a regular file: the length it cuts the file back to after a failure,
  // and whether it created the file (which it then removes); -1 for no cut (a device, a pipe).
  off_t keptLength_ = -1;
  bool created_ = false;
  std::size_t lineEnds_ = 0;
};

// A file that a writer closed without failure: where it is and how many lines went into it.
struct WrittenFile {
  std::string path;
  std::size_t lines = 0;
  bool replaced = false;  // written anew rather than appended to
};

// Collects, while it exists, every file that a TextFileWriter of this thread closed without
// failure, so that a command can say afterwards where its results went. Recorders nest: the
// innermost one collects.
class WrittenFileRecorder {
 public:
  WrittenFileRecorder();
  ~WrittenFileRecorder();
  WrittenFileRecorder(const WrittenFileRecorder&) = delete;
  WrittenFileRecorder& operator=(const WrittenFileRecorder&) = delete;

  const std::vector<WrittenFile>& Files() const { return files_; }
  static void Note(WrittenFile file);

 private:
  std::vector<WrittenFile> files_;
  WrittenFileRecorder* outer_;
};

// Writes the file at path anew (WriteMode::Replace): write fills it, and the file is replaced
// only when write succeeded and so did every write, the flush and the close; otherwise it is left
// as it was. The failure is write's own, or names the file and the system's reason.
Status ReplaceFileWhole(const std::string& path, const std::function<Status(TextFileWriter&)>& write);
// The same with the file's whole text (or bytes) at hand.
Status ReplaceFileWithText(const std::string& path, std::string_view text);

// Creates the file empty if it does not exist, keeps it otherwise.
Status TouchFile(const std::string& path);

}  // namespace vorn
