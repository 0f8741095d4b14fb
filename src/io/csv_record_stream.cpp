#include "io/csv_record_stream.h"

#include <cerrno>
#include <cstring>

#include "core/text_encoding.h"

namespace vorn {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

bool StartsUtf16(std::string_view text) { return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"); }

}  // namespace

CsvRecordStream::CsvRecordStream(CsvRecordStream&& other) noexcept
    : file_(std::move(other.file_)),
      path_(std::move(other.path_)),
      pieceLength_(other.pieceLength_),
      atEnd_(other.atEnd_),
      separator_(other.separator_),
      size_(other.size_) {
  // The tokenizer points into the buffer: it is started anew over the moved buffer, at the
  // beginning, which is where a stream stands between Open and its first record.
  buffer_ = std::move(other.buffer_);
  other.tokenizer_.reset();
  StartPiece(0);
}

Result<CsvRecordStream> CsvRecordStream::Open(const std::string& path, char separator) {
  CsvRecordStream stream;
  stream.path_ = path;
  stream.file_.reset(std::fopen(path.c_str(), "rb"));
  if (!stream.file_) return Failure{"Cannot read " + path + ": " + std::strerror(errno)};
  if (std::fseek(stream.file_.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(stream.file_.get());
    stream.size_ = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    std::rewind(stream.file_.get());
  }
  if (auto filled = stream.Refill(); !filled) return Failure{filled.error()};
  if (StartsUtf16(stream.buffer_)) {
    // Read whole: its records are found in the UTF-8 text only.
    while (!stream.atEnd_) {
      if (auto filled = stream.Refill(); !filled) return Failure{filled.error()};
    }
    stream.buffer_ = FileText(std::move(stream.buffer_));
  }
  stream.separator_ = separator ? separator : DetectSeparator(stream.buffer_);
  stream.buffer_.erase(0, stream.buffer_.size() - TableText(stream.buffer_).size());
  stream.StartPiece(0);
  return stream;
}

CsvRecordStream CsvRecordStream::FromText(std::string text, char separator) {
  CsvRecordStream stream;
  stream.size_ = text.size();
  stream.separator_ = separator ? separator : DetectSeparator(text);
  stream.buffer_ = std::string(TableText(text));
  stream.atEnd_ = true;
  stream.StartPiece(0);
  return stream;
}

Result<bool> CsvRecordStream::Refill() {
  if (atEnd_) return false;
  const std::size_t complete = buffer_.size();
  for (;;) {
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kBlockSize);
    const std::size_t read = std::fread(buffer_.data() + old, 1, kBlockSize, file_.get());
    buffer_.resize(old + read);
    if (read < kBlockSize) {
      if (std::ferror(file_.get())) return Failure{"Cannot read " + path_ + ": " + std::strerror(errno)};
      atEnd_ = true;
      file_.reset();
      return buffer_.size() > complete;
    }
    if (CompleteLength() > 0) return true;
  }
}

std::size_t CsvRecordStream::CompleteLength() const {
  if (atEnd_) return buffer_.size();
  bool quoted = false;
  std::size_t complete = 0;
  const std::size_t size = buffer_.size();
  for (std::size_t i = 0; i < size; ++i) {
    const char c = buffer_[i];
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    // A CR at the end of the buffer may be followed by the LF of the same line end.
    if (c == '\n' || (c == '\r' && i + 1 < size && buffer_[i + 1] != '\n')) complete = i + 1;
  }
  return complete;
}

void CsvRecordStream::StartPiece(std::size_t rowsBefore) {
  pieceLength_ = CompleteLength();
  tokenizer_.emplace(std::string_view(buffer_).substr(0, pieceLength_), separator_, rowsBefore + 1);
}

Result<bool> CsvRecordStream::Next() {
  for (;;) {
    auto more = tokenizer_->Next();
    if (!more || *more) return more;
    if (atEnd_) return false;
    const std::size_t rows = tokenizer_->Row();
    buffer_.erase(0, pieceLength_);
    pieceLength_ = 0;
    tokenizer_.reset();
    auto filled = Refill();
    if (!filled) return Failure{filled.error()};
    StartPiece(rows);
    if (!*filled && buffer_.empty()) return false;
  }
}

Result<bool> CsvRecordStream::NextFilled() {
  for (;;) {
    auto more = Next();
    if (!more || !*more) return more;
    if (tokenizer_->UsedFieldCount() > 0) return true;
  }
}

}  // namespace vorn
