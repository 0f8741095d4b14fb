// Plain text files: reading line by line with any line end (CR LF, LF or CR), and writing with
// CR LF line ends. Failures carry the system's reason, ready to be shown to the user.
#pragma once

#include <cstdio>
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

  std::unique_ptr<std::FILE, Closer> file_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool pendingLineFeed_ = false;  // a CR ended the last line; a LF right after it belongs to it
  bool failed_ = false;
};

enum class WriteMode { Rewrite, Append };

class TextFileWriter {
 public:
  static Result<TextFileWriter> Open(const std::string& path, WriteMode mode);
  TextFileWriter(TextFileWriter&&) = default;
  TextFileWriter& operator=(TextFileWriter&&) = default;
  // A writer dropped without Close (a command that stopped half-way) still writes what it has.
  ~TextFileWriter() { if (file_) Flush(); }

  void Write(std::string_view text) { buffer_.append(text); if (buffer_.size() >= kFlushSize) Flush(); }
  // Writes text and CR LF.
  void Line(std::string_view text = {}) { Write(text); Write("\r\n"); }
  // Hands what is buffered to the system now.
  void Flush();
  // Writes what is buffered and closes the file; the failure names the file and the reason.
  Status Close();

  const std::string& Path() const { return path_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  static constexpr std::size_t kFlushSize = 1 << 20;
  TextFileWriter(std::FILE* file, std::string path);

  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  std::string buffer_;
  int error_ = 0;  // errno of the first failed write
};

// Creates the file empty if it does not exist, keeps it otherwise.
Status TouchFile(const std::string& path);

}  // namespace vorn
