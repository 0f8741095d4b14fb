#include "io/data_file_reader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text_encoding.h"
#include "core/text_file.h"

namespace vorn {
namespace {

constexpr Cell kNotAScore = 255;

const char* const kInputFileError = "Input file error";
const char* const kNoScores = "The input file holds no scores.";

// A remark taken out of a line: where it stood in the text that was kept, and its length.
struct RemovedRemark {
  std::size_t at;
  std::size_t length;
};

// Removes every remark: from an opening character up to and including the next closing one,
// or to the end of the line when it is not closed there. removed receives each remark's place.
void RemoveRemarks(std::string& line, char open, char close, std::vector<RemovedRemark>& removed) {
  std::size_t start = line.find(open);
  if (start == std::string::npos) return;
  std::string kept;
  std::size_t from = 0;
  while (start != std::string::npos) {
    kept.append(line, from, start - from);
    const std::size_t end = line.find(close, start + 1);
    const std::size_t next = end == std::string::npos ? line.size() : end + 1;
    removed.push_back({kept.size(), next - start});
    from = next;
    if (end == std::string::npos) break;
    start = line.find(open, from);
  }
  kept.append(line, from, std::string::npos);
  line.swap(kept);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsDelimiter(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsDelimiter(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::size_t FieldCount(std::string_view line) {
  std::size_t count = 0;
  bool inField = false;
  for (char c : line) {
    const bool delimiter = IsDelimiter(c);
    if (!delimiter && !inField) ++count;
    inField = !delimiter;
  }
  return count;
}

// The text after the first field of a line.
std::string_view AfterFirstField(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsDelimiter(line[i])) ++i;
  while (i < line.size() && !IsDelimiter(line[i])) ++i;
  return line.substr(i);
}

// The lines of the table as the reader sees them: remarks removed, blank lines skipped. Each
// line keeps its number in the file and the places of its remarks, so that a refusal can point
// at a character of the line as the user's editor shows it.
class TableLines {
 public:
  TableLines(LineReader reader, const FileLayout& layout) : reader_(std::move(reader)), layout_(layout) {}

  // The next line that is not blank after its remarks are removed; false at the end of the file.
  bool Next(std::string& line) {
    while (reader_.Next(line)) {
      ++number_;
      removed_.clear();
      if (line.find(layout_.openRemark) != std::string::npos) {
        original_ = line;
        RemoveRemarks(line, layout_.openRemark, layout_.closeRemark, removed_);
      }
      if (FieldCount(line) > 0) return true;
    }
    return false;
  }
  bool Failed() const { return reader_.Failed(); }
  bool EndsTable(const std::string& line) const { return line.find(layout_.endOfData) != std::string::npos; }

  // message, then on a line of its own where in the line last read (remarks removed) the byte at
  // offset stands, in the file ("Line 151, column 7: "), and what was found there.
  Failure Refusal(const char* message, const std::string& line, std::size_t offset, const std::string& found) const {
    std::size_t inFile = offset;
    for (const RemovedRemark& remark : removed_) {
      if (remark.at <= offset) inFile += remark.length;
    }
    const std::string& text = removed_.empty() ? line : original_;
    const std::size_t column = CharacterCount(std::string_view(text).substr(0, inFile)) + 1;
    return Failure{std::string(message) + "\r\nLine " + std::to_string(number_) + ", column " + std::to_string(column) +
                   ": " + found};
  }

 private:
  LineReader reader_;
  const FileLayout& layout_;
  std::size_t number_ = 0;  // of the line last read, from 1
  std::vector<RemovedRemark> removed_;
  std::string original_;  // the line last read as the file holds it, when it had remarks
};

Result<TableLines> OpenTable(const std::string& path, const FileLayout& layout) {
  auto reader = LineReader::Open(path);
  if (!reader) return Failure{kInputFileError};
  return TableLines(std::move(*reader), layout);
}

// Where the names are, in the orientation of the file.
struct Shape {
  bool columnHeader = false;
  bool rowHeader = false;
  std::size_t columns = 0;
  std::size_t rows = 0;
  std::vector<std::string> columnNames;  // as the file gives them, before the cut
};

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string FieldCountText(std::size_t count) { return std::to_string(count) + (count == 1 ? " field" : " fields"); }

// The offset of a line's field (an element of Fields(line)).
std::size_t OffsetOf(const std::string& line, std::string_view field) {
  return static_cast<std::size_t>(field.data() - line.data());
}

// The refusal of a line with another number of fields than expected (as the expectation says):
// at the first field too many, or at the end of the line.
Failure FieldCountRefusal(const char* message, const TableLines& table, const std::string& line,
                          const std::vector<std::string_view>& fields, std::size_t expected,
                          const std::string& expectation) {
  const std::string found = "the line holds " + FieldCountText(fields.size()) + ", where " + expectation;
  if (fields.size() > expected) {
    return table.Refusal(message, line, OffsetOf(line, fields[expected]),
                         found + "; the first one too many is " + Quoted(fields[expected]));
  }
  const std::size_t end = fields.empty() ? 0 : OffsetOf(line, fields.back()) + fields.back().size();
  return table.Refusal(message, line, end, found);
}

// Counts the columns from the first line of the table; the failures are those of a first line
// that cannot hold the table's start.
Status CountColumns(const TableLines& table, const std::string& first, const FileLayout& layout, Shape& shape) {
  const auto fields = Fields(first);
  if (layout.delimitedData) {
    shape.columns = (shape.rowHeader && !shape.columnHeader) ? fields.size() - 1 : fields.size();
  } else if (shape.columnHeader) {
    shape.columns = fields.size();
  } else if (shape.rowHeader) {
    if (fields.size() != 2) {
      return FieldCountRefusal("Cannot interpret data block(3)", table, first, fields, 2,
                               "the first line holds 2: a name and the scores written together");
    }
    shape.columns = fields[1].size();
  } else {
    if (fields.size() != 1) {
      return FieldCountRefusal("Cannot interpret data block(4)", table, first, fields, 1,
                               "the first line holds 1: the scores written together");
    }
    shape.columns = fields[0].size();
  }
  if (shape.columnHeader) {
    shape.columnNames.assign(fields.begin(), fields.end());
  }
  return Success();
}

// True when a data line has the shape of a row of the table.
bool IsRow(const std::string& line, const FileLayout& layout, const Shape& shape) {
  if (layout.delimitedData) return FieldCount(line) == shape.columns + (shape.rowHeader ? 1 : 0);
  const auto fields = Fields(line);
  const std::size_t scoreField = shape.rowHeader ? 1 : 0;
  return fields.size() == scoreField + 1 && fields[scoreField].size() == shape.columns;
}

// The refusal of a line that IsRow refused, saying how it differs from a row.
Failure RowShapeRefusal(const TableLines& table, const std::string& line, const FileLayout& layout, const Shape& shape) {
  const auto fields = Fields(line);
  const std::size_t scoreField = shape.rowHeader ? 1 : 0;
  if (layout.delimitedData) {
    const char* message = shape.rowHeader ? "Cannot interpret data block(1a)" : "Cannot interpret data block(2a)";
    const std::size_t expected = shape.columns + scoreField;
    return FieldCountRefusal(message, table, line, fields, expected, "each row holds " + FieldCountText(expected));
  }
  const char* message = shape.rowHeader ? "Cannot interpret data block(1)" : "Cannot interpret data block(2)";
  if (fields.size() != scoreField + 1) {
    return FieldCountRefusal(message, table, line, fields, scoreField + 1,
                             "each row holds " + FieldCountText(scoreField + 1));
  }
  const std::string_view scores = fields[scoreField];
  const std::string found = "the scores " + Quoted(scores) + " are " + std::to_string(CharacterCount(scores)) +
                            " characters, where each row holds " + std::to_string(shape.columns);
  return table.Refusal(message, line, OffsetOf(line, scores) + std::min(scores.size(), shape.columns), found);
}

Failure TooMany(const char* what, std::size_t count) {
  return Failure{std::string("The input file holds ") + std::to_string(count) + " " + what +
                 "; at most 65535 can be read."};
}

// Pass 1: the shape of the table and the column names.
Result<Shape> ReadShape(const std::string& path, const FileLayout& layout) {
  auto table = OpenTable(path, layout);
  if (!table) return Failure{table.error()};
  Shape shape;
  const bool inColumns = layout.individualsInColumns;
  shape.columnHeader = inColumns ? layout.individualHeader : layout.locusHeader;
  shape.rowHeader = inColumns ? layout.locusHeader : layout.individualHeader;

  std::string line;
  if (!table->Next(line)) return Failure{table->Failed() ? kInputFileError : kNoScores};
  if (auto counted = CountColumns(*table, line, layout, shape); !counted) return Failure{counted.error()};

  bool haveLine = !shape.columnHeader || table->Next(line);
  while (haveLine && !table->EndsTable(line)) {
    if (!IsRow(line, layout, shape)) return RowShapeRefusal(*table, line, layout, shape);
    ++shape.rows;
    haveLine = table->Next(line);
  }
  if (table->Failed()) return Failure{kInputFileError};

  const auto size = CheckMatrixSize(inColumns ? shape.columns : shape.rows, inColumns ? shape.rows : shape.columns);
  if (!size) return Failure{size.error()};
  return shape;
}

std::array<Cell, 256> ScoreCodes(const FileLayout& layout) {
  std::array<Cell, 256> codes;
  codes.fill(kNotAScore);
  // Later assignments win: a character that stands for two states reads as the first of
  // Absence, Ambiguity, Presence.
  codes[static_cast<unsigned char>(layout.presence)] = Presence;
  codes[static_cast<unsigned char>(layout.ambiguity)] = Missing;
  codes[static_cast<unsigned char>(layout.absence)] = Absence;
  return codes;
}

// The refusal of a row whose score characters do not number columns: at the first score too
// many; or, when there are too few, at the first character that is neither a score nor a
// delimiter (a likely mistyped score), else at the end of the line. scores is part of line.
Failure ScoreCountRefusal(const TableLines& table, const std::string& line, std::string_view scores,
                          std::size_t columns, const FileLayout& layout) {
  constexpr const char* kMessage = "Error interpreting data block(!)";
  const auto isScore = [&](char c) { return c == layout.presence || c == layout.absence || c == layout.ambiguity; };
  const std::size_t start = static_cast<std::size_t>(scores.data() - line.data());
  const std::string each = std::to_string(columns) + (columns == 1 ? " score" : " scores") + " of each row";
  std::size_t count = 0;
  for (std::size_t k = 0; k < scores.size(); ++k) {
    if (isScore(scores[k]) && ++count > columns) {
      return table.Refusal(kMessage, line, start + k,
                           "the score " + Quoted(scores.substr(k, 1)) + " is one more than the " + each);
    }
  }
  for (std::size_t k = 0; k < scores.size(); ++k) {
    if (!isScore(scores[k]) && !IsDelimiter(scores[k])) {
      return table.Refusal(kMessage, line, start + k,
                           Quoted(FirstCharacters(scores.substr(k), 1)) + " is no score, and the line holds " +
                               std::to_string(count) + " of the " + each);
    }
  }
  std::size_t end = line.size();
  while (end > 0 && IsDelimiter(line[end - 1])) --end;
  return table.Refusal(kMessage, line, end, "the line holds " + std::to_string(count) + " of the " + each);
}

// Pass 2: the scores and the row names, straight into the locus-major layout.
Status ReadScores(const std::string& path, const FileLayout& layout, const Shape& shape, DataMatrix& matrix,
                  std::vector<std::string>& rowNames) {
  auto table = OpenTable(path, layout);
  if (!table) return Failure{table.error()};
  const auto codes = ScoreCodes(layout);
  const bool inRows = !layout.individualsInColumns;
  const std::size_t columns = shape.columns;
  const std::size_t rows = shape.rows;

  std::string line;
  bool haveLine = table->Next(line) && (!shape.columnHeader || table->Next(line));
  std::size_t row = 0;
  for (; haveLine && !table->EndsTable(line) && row < rows; ++row) {
    std::string_view scores = line;
    if (shape.rowHeader) {
      const auto fields = Fields(line);
      rowNames.emplace_back(fields.empty() ? std::string_view() : fields[0]);
      scores = AfterFirstField(line);
    }
    std::size_t column = 0;
    for (std::size_t k = 0; k < scores.size(); ++k) {
      const Cell code = codes[static_cast<unsigned char>(scores[k])];
      if (code == kNotAScore) continue;
      if (column == columns) return ScoreCountRefusal(*table, line, scores, columns, layout);
      matrix.cells[inRows ? column * rows + row : row * columns + column] = code;
      ++column;
    }
    if (column != columns) return ScoreCountRefusal(*table, line, scores, columns, layout);
    haveLine = table->Next(line);
  }
  // The file changed between the two passes, or could not be read again.
  if (table->Failed() || row != rows) return Failure{kInputFileError};
  return Success();
}

}  // namespace

std::vector<MergedLabel> LabelsMergedByCut(const std::vector<std::string>& names) {
  struct Entry {
    MergedLabel label;
    const std::string* firstName;
    bool merged = false;
  };
  std::vector<Entry> entries;
  std::unordered_map<std::string, std::size_t> position;
  for (const std::string& name : names) {
    std::string label = CutLabel(name);
    const auto [at, fresh] = position.try_emplace(label, entries.size());
    if (fresh) entries.push_back(Entry{MergedLabel{std::move(label), 0}, &name});
    Entry& entry = entries[at->second];
    ++entry.label.names;
    entry.merged |= name != *entry.firstName;
  }
  std::vector<MergedLabel> merged;
  for (Entry& entry : entries) {
    if (entry.merged) merged.push_back(std::move(entry.label));
  }
  return merged;
}

Status CheckMatrixSize(std::size_t individuals, std::size_t loci) {
  if (individuals > kMaxDimension) return TooMany("individuals", individuals);
  if (loci > kMaxDimension) return TooMany("loci", loci);
  if (individuals == 0 || loci == 0) return Failure{kNoScores};
  if (individuals * loci > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Failure{"Not enough memory"};
  }
  return Success();
}

Result<DataMatrix> ReadDataFile(const std::string& path, const FileLayout& layout, MergedNames* merged) {
  auto shape = ReadShape(path, layout);
  if (!shape) return Failure{shape.error()};

  DataMatrix matrix;
  const bool inColumns = layout.individualsInColumns;
  // ReadShape has refused more than kMaxDimension individuals or loci.
  matrix.individualCount = static_cast<std::uint16_t>(inColumns ? shape->columns : shape->rows);
  matrix.locusCount = static_cast<std::uint16_t>(inColumns ? shape->rows : shape->columns);
  try {
    matrix.cells.assign(matrix.CellCount(), Absence);
  } catch (const std::bad_alloc&) {
    return Failure{"Not enough memory"};
  }

  std::vector<std::string> rowNames;
  if (auto read = ReadScores(path, layout, *shape, matrix, rowNames); !read) return Failure{read.error()};

  const std::vector<std::string>& individualNames = inColumns ? shape->columnNames : rowNames;
  const std::vector<std::string>& locusNames = inColumns ? rowNames : shape->columnNames;
  matrix.individualLabels = layout.individualHeader ? LabelTable(individualNames)
                                                    : MakeDefaultIndividualLabels(matrix.individualCount);
  matrix.locusLabels = layout.locusHeader ? LabelTable(locusNames) : MakeDefaultLocusLabels(matrix.locusCount);
  if (merged) {
    merged->individuals = layout.individualHeader ? LabelsMergedByCut(individualNames) : std::vector<MergedLabel>{};
    merged->loci = layout.locusHeader ? LabelsMergedByCut(locusNames) : std::vector<MergedLabel>{};
  }
  return matrix;
}

std::string MergedNamesNotice(const MergedNames& merged) {
  constexpr std::size_t kShown = 5;
  std::string notice;
  // Each merged label stands for two names at least, so the counts are always plural.
  const auto describe = [&](const std::vector<MergedLabel>& labels, const char* kind) {
    if (labels.empty()) return;
    std::size_t names = 0;
    std::string shown;
    for (std::size_t k = 0; k < labels.size(); ++k) {
      names += labels[k].names;
      if (k < kShown) {
        shown += (k > 0 ? ", \"" : "\"") + labels[k].label + "\" (" + std::to_string(labels[k].names) + " " + kind + ")";
      }
    }
    if (labels.size() > kShown) shown += ", and " + std::to_string(labels.size() - kShown) + " more";
    notice += "The names of " + std::to_string(names) + " " + kind + " became equal once cut to 20 characters: " +
              shown + ".\r\n";
  };
  describe(merged.individuals, "individuals");
  describe(merged.loci, "loci");
  if (notice.empty()) return notice;
  return notice + "Groups, trees and exports cannot tell them apart; give them names that differ within their first "
                  "20 characters.";
}

}  // namespace vorn
