#include "io/csv_tokenizer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/text_encoding.h"

namespace vorn {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view WithoutByteOrderMark(std::string_view text) {
  return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? text.substr(kByteOrderMark.size()) : text;
}

// The separator a first line "sep=X" names, and the length of that line with its line end; 0
// when the text does not start with such a line.
char SeparatorLine(std::string_view text, std::size_t& length) {
  constexpr std::string_view kStart = "sep=";
  if (!text.starts_with(kStart) || text.size() <= kStart.size()) return 0;
  const char separator = text[kStart.size()];
  if (separator != ',' && separator != ';' && separator != '\t') return 0;
  std::size_t end = kStart.size() + 1;
  if (end < text.size() && !IsLineEnd(text[end])) return 0;
  if (text.substr(end).starts_with("\r\n")) end += 2;
  else if (end < text.size()) end += 1;
  length = end;
  return separator;
}

}  // namespace

std::string CellName(CellPosition cell) {
  return "Row " + std::to_string(cell.row) + ", column " + std::to_string(cell.column);
}

Failure CellFailure(CellPosition cell, std::string_view text) { return Failure{CellName(cell) + ": " + std::string(text)}; }

Result<std::string> ReadFileText(const std::string& path) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) return Failure{"Cannot read " + path + ": " + std::strerror(errno)};
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get());
    text.append(buffer, read);
    if (read < sizeof buffer) break;
  }
  if (std::ferror(file.get())) return Failure{"Cannot read " + path + ": " + std::strerror(errno)};
  return FileText(std::move(text));
}


std::string_view TableText(std::string_view text) {
  text = WithoutByteOrderMark(text);
  std::size_t length = 0;
  return SeparatorLine(text, length) ? text.substr(length) : text;
}

char DetectSeparator(std::string_view text) {
  text = WithoutByteOrderMark(text);
  std::size_t length = 0;
  if (const char named = SeparatorLine(text, length)) return named;
  std::size_t tabs = 0, semicolons = 0, commas = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    if (IsLineEnd(c)) break;
    tabs += c == '\t';
    semicolons += c == ';';
    commas += c == ',';
  }
  if (tabs > 0 && tabs >= semicolons && tabs >= commas) return '\t';
  if (semicolons > 0 && semicolons >= commas) return ';';
  return ',';
}

std::string_view SeparatorName(char separator) {
  switch (separator) {
    case '\t': return "tab";
    case ';': return "semicolon";
    default: return "comma";
  }
}

Status CheckTableText(std::string_view text) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return Failure{"The file is empty."};
  const std::size_t nul = text.find('\0');
  if (nul == std::string_view::npos) return Success();
  // The cell of the NUL byte, for the message; a workbook saved as such rather than as CSV is
  // the usual case.
  CellPosition cell{1, 1};
  const char separator = DetectSeparator(text);
  for (std::size_t i = 0; i < nul; ++i) {
    if (text[i] == separator) {
      ++cell.column;
    } else if (IsLineEnd(text[i]) && !(text[i] == '\n' && i > 0 && text[i - 1] == '\r')) {
      ++cell.row;
      cell.column = 1;
    }
  }
  return CellFailure(cell, "the file holds binary data (a NUL byte), not a text table; save the workbook as CSV");
}

Result<bool> CsvTokenizer::Next() {
  spans_.clear();
  unquoted_.clear();
  if (position_ >= text_.size()) return false;
  ++row_;
  const std::size_t size = text_.size();
  for (;;) {
    std::size_t i = position_;
    if (i < size && text_[i] == '"') {
      // A quoted field: up to the closing quote, a doubled quote standing for one; text after
      // the closing quote up to the separator is kept as it stands.
      const CellPosition cell{row_, spans_.size() + 1};
      const std::size_t start = unquoted_.size();
      ++i;
      for (;;) {
        const std::size_t quote = text_.find('"', i);
        if (quote == std::string_view::npos) return CellFailure(cell, "the quoted field is not closed before the end of the file");
        unquoted_.append(text_, i, quote - i);
        i = quote + 1;
        if (i < size && text_[i] == '"') {
          unquoted_ += '"';
          ++i;
          continue;
        }
        break;
      }
      while (i < size && text_[i] != separator_ && !IsLineEnd(text_[i])) unquoted_ += text_[i++];
      spans_.push_back({start, unquoted_.size() - start, false});
    } else {
      const std::size_t start = i;
      while (i < size && text_[i] != separator_ && !IsLineEnd(text_[i])) ++i;
      spans_.push_back({start, i - start, true});
    }
    if (i < size && text_[i] == separator_) {
      position_ = i + 1;
      continue;
    }
    // The end of the record: CR LF, LF, CR or the end of the text.
    if (i < size && text_[i] == '\r') ++i;
    if (i < size && text_[i] == '\n') ++i;
    position_ = i;
    return true;
  }
}

Result<bool> CsvTokenizer::NextFilled() {
  for (;;) {
    auto more = Next();
    if (!more || !*more) return more;
    if (UsedFieldCount() > 0) return true;
  }
}

std::string_view CsvTokenizer::Field(std::size_t index) const {
  if (index >= spans_.size()) return {};
  const Span& span = spans_[index];
  return span.unquoted ? text_.substr(span.start, span.length) : std::string_view(unquoted_).substr(span.start, span.length);
}

std::size_t CsvTokenizer::UsedFieldCount() const {
  std::size_t count = spans_.size();
  while (count > 0 && TrimBlanks(Field(count - 1)).empty()) --count;
  return count;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",;\t\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string_view TrimBlanks(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = field.find_last_not_of(" \t");
  return field.substr(first, last - first + 1);
}

}  // namespace vorn
