// The records of a CSV or TSV file read piece by piece, for tables too large to hold whole
// beside what they are read into: the file is read in blocks, each cut after its last record
// end outside quotes, and each piece is split by the CsvTokenizer, rows counted on across the
// pieces. A byte-order mark and a "sep=" first line are taken as the tokenizer's callers take
// them; a UTF-16 file is read whole (FileText) and served from its UTF-8 text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "core/result.h"
#include "io/csv_tokenizer.h"

namespace vorn {

class CsvRecordStream {
 public:
  // Opens the file; separator 0 detects it from the first record (DetectSeparator). The failure
  // names the file and the system's reason.
  static Result<CsvRecordStream> Open(const std::string& path, char separator = 0);
  // The same over a text held in memory.
  static CsvRecordStream FromText(std::string text, char separator = 0);

  CsvRecordStream(CsvRecordStream&& other) noexcept;
  CsvRecordStream& operator=(CsvRecordStream&&) = delete;
  ~CsvRecordStream() = default;

  // Reads the next record (false at the end), or the next that holds a value; the failures are
  // the tokenizer's and a read error of the file.
  Result<bool> Next();
  Result<bool> NextFilled();

  // The record just read.
  const CsvTokenizer& Record() const { return *tokenizer_; }
  char Separator() const { return separator_; }
  // The size of the file in bytes (of the text for FromText), as an upper bound for reserving.
  std::uint64_t Size() const { return size_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  CsvRecordStream() = default;

  // Reads blocks until the buffer holds a complete record or the file ends; false at its end.
  Result<bool> Refill();
  // Starts the tokenizer over the buffer's complete records.
  void StartPiece(std::size_t rowsBefore);
  // The length of the buffer's complete records: up to the last record end outside quotes.
  std::size_t CompleteLength() const;

  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  std::string buffer_;
  std::size_t pieceLength_ = 0;  // the part of buffer_ the tokenizer reads
  bool atEnd_ = false;           // the whole file is in buffer_
  char separator_ = ',';
  std::uint64_t size_ = 0;
  std::optional<CsvTokenizer> tokenizer_;
};

}  // namespace vorn
