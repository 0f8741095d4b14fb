// The records of a CSV or TSV text as RFC 4180 writes them: fields split at a comma, semicolon
// or tab, quoted fields that hold separators, line breaks and doubled quotes, records ended by
// CR LF, LF or CR, an optional UTF-8 byte-order mark and a spreadsheet's "sep=;" first line.
// Rows and columns are counted from 1, as a spreadsheet shows them, so that messages can point
// at a cell.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vorn {

// Where a cell stands, counted from 1; "Row 12, column 7" in messages.
struct CellPosition {
  std::size_t row = 0;
  std::size_t column = 0;
};
std::string CellName(CellPosition cell);  // "Row 12, column 7"
// "Row 12, column 7: " + text.
Failure CellFailure(CellPosition cell, std::string_view text);

// The whole file's text (UTF-16 with its byte-order mark read as UTF-8, FileText); the failure
// names the file and the system's reason.
Result<std::string> ReadFileText(const std::string& path);

// The records of a file's text: without a leading UTF-8 byte-order mark, and without the line
// "sep=;" (or "sep=," or "sep=" and a tab) that spreadsheets write first to name the separator.
std::string_view TableText(std::string_view text);

// The separator a "sep=" first line names; otherwise the separator of the first record: the
// most frequent of tab, semicolon and comma outside quotes (on a tie tab, then semicolon, then
// comma), or comma when it holds none of them. text is the file's text or its TableText.
char DetectSeparator(std::string_view text);
// "comma", "semicolon" or "tab".
std::string_view SeparatorName(char separator);

// Refuses text that is no table: nothing but blanks and line ends ("The file is empty."), or a
// NUL byte (a workbook or other binary file), named by its cell.
Status CheckTableText(std::string_view text);

class CsvTokenizer {
 public:
  // text without its byte-order mark; it must outlive the tokenizer. firstRow is the row number
  // of the text's first record (a stream hands over its text piece by piece).
  CsvTokenizer(std::string_view text, char separator, std::size_t firstRow = 1)
      : text_(text), separator_(separator), row_(firstRow - 1) {}

  // Reads the next record; false at the end of the text. A quoted field still open at the end
  // of the text is a failure that names its cell.
  Result<bool> Next();
  // Reads the next record that holds a value, passing over records of empty fields only.
  Result<bool> NextFilled();

  std::size_t Row() const { return row_; }  // of the record just read
  std::size_t FieldCount() const { return spans_.size(); }
  // The field's text with its quotes removed and doubled quotes made single; empty beyond the
  // last field.
  std::string_view Field(std::size_t index) const;
  // The number of fields up to the last one that is not empty.
  std::size_t UsedFieldCount() const;

 private:
  struct Span {
    std::size_t start;
    std::size_t length;
    bool unquoted;  // in the text itself; otherwise in unquoted_
  };

  std::string_view text_;
  char separator_;
  std::size_t position_ = 0;
  std::size_t row_ = 0;
  std::vector<Span> spans_;
  std::string unquoted_;
};

// A field without the blanks (spaces and tabs) around it.
std::string_view TrimBlanks(std::string_view field);

// A field as a CSV file writes it: quoted, with its quotes doubled, when it holds a separator, a
// quote or a line break; as it is otherwise.
std::string CsvField(std::string_view text);

}  // namespace vorn
