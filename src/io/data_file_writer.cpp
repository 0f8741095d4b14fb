#include "io/data_file_writer.h"

#include <algorithm>
#include <array>

#include "core/text_file.h"
#include "io/locus_metrics_block.h"
#include "io/written_names.h"

namespace vorn {
namespace {

// The longest block header: a table line longer than this (without its blanks) cannot be one.
constexpr std::size_t kLongestBlockHeader = 14;  // "[LocusMetrics]"

std::string Unreadable(const std::string& what) { return what + std::string(kCouldNotBeReadAgain); }

// The text of each score, indexed by its cell value.
struct ScoreTexts {
  std::array<std::string, 10> byCell;
  const std::string& operator[](Cell cell) const { return byCell[cell]; }
};

ScoreTexts MakeScoreTexts(const FileLayout& layout) {
  const auto text = [&](bool negative, char symbol) {
    std::string score = negative ? "-" : "";
    score += symbol;
    if (layout.delimitedData) score += ' ';
    return score;
  };
  ScoreTexts texts;
  texts.byCell[Absence] = text(false, layout.absence);
  texts.byCell[Presence] = text(false, layout.presence);
  texts.byCell[Missing] = text(layout.ambiguityNegative && layout.delimitedData, layout.ambiguity);
  return texts;
}

// The labels to write: the table itself, or numbered names where it does not match the count.
LabelTable NamesFor(const LabelTable& labels, std::size_t count, const char* prefix) {
  return labels.Count() == count ? labels : MakeNumberedLabels(prefix, count);
}

// The table as it is laid out in the file: its lines are rows of columns.
struct TableShape {
  const LabelTable* columnNames = nullptr;  // the header line, when written
  const LabelTable* rowNames = nullptr;     // the first field of each row, when written
  std::size_t rows = 0;
  std::size_t columns = 0;
  std::size_t rowStep = 0;     // cells from one row's first score to the next row's
  std::size_t columnStep = 0;  // cells from one score of a row to the next
};

// In the locus-major layout a locus is a run of adjacent cells and an individual a column of
// cells spaced individualCount apart.
TableShape ShapeOf(const DataMatrix& matrix, const FileLayout& layout, const LabelTable& individualNames,
                   const LabelTable& locusNames) {
  TableShape shape;
  const LabelTable* individuals = layout.individualHeader ? &individualNames : nullptr;
  const LabelTable* loci = layout.locusHeader ? &locusNames : nullptr;
  if (layout.individualsInColumns) {
    shape = {individuals, loci, matrix.locusCount, matrix.individualCount, matrix.individualCount, 1};
  } else {
    shape = {loci, individuals, matrix.individualCount, matrix.locusCount, 1, matrix.individualCount};
  }
  return shape;
}

Status CheckNames(const LabelTable& names, const char* kind, const FileLayout& layout) {
  const struct {
    char symbol;
    const char* role;
  } reserved[] = {{layout.endOfData, "EndOfData"}, {layout.openRemark, "OpenRemark"}};
  for (std::size_t i = 0; i < names.Count(); ++i) {
    const std::string& name = names[i];
    const std::string named =
        std::string("The ") + kind + " name " + QuotedName(name) + " (" + kind + " " + std::to_string(i + 1) + ")";
    if (const auto fault = NameFault(name, true); !fault.empty()) {
      return Failure{Unreadable(named + " " + std::string(fault) + "; please save without " + kind + " names")};
    }
    for (const auto& [symbol, role] : reserved) {
      if (name.find(symbol) != std::string::npos) {
        return Failure{Unreadable(named + " contains the " + role + " character " + QuotedName(std::string(1, symbol)) +
                                  "; please choose another " + role + " character")};
      }
    }
  }
  return Success();
}

Status CheckCells(const DataMatrix& matrix, const FileLayout& layout) {
  const bool whole = matrix.cells.size() == matrix.CellCount();
  if (whole && std::all_of(matrix.cells.begin(), matrix.cells.end(), IsBandState)) return Success();
  return Failure{layout.individualsInColumns ? "Data Error. Could not complete saving of data file"
                                             : "Data Error. Could not complete saving of data file(2)"};
}

// The block reader looks for its header from the file's first line, spaces and tabs removed: a
// table line that reads so would start the block there. Only lines of at most eleven visible
// characters can; names hold no blanks once CheckNames passed.
Status CheckBlockHeaderLines(const DataMatrix& matrix, const TableShape& shape, const ScoreTexts& texts) {
  const auto check = [](const std::string& line) -> Status {
    for (std::string_view header : {BlockHeader(GroupBlock::Groups), BlockHeader(GroupBlock::LocusSets), kLocusMetricsHeader}) {
      if (line == header) {
        return Failure{Unreadable("A line of the table would read as the block header " + QuotedName(line) +
                                  "; please choose other names or symbols, or untick \"Include Groups\"")};
      }
    }
    return Success();
  };
  if (shape.columns > kLongestBlockHeader) return Success();
  if (shape.columnNames) {
    std::string line;
    for (const auto& name : shape.columnNames->All()) line += name;
    if (auto checked = check(line); !checked) return checked;
  }
  for (std::size_t r = 0; r < shape.rows; ++r) {
    std::string line = shape.rowNames ? (*shape.rowNames)[r] : std::string();
    const Cell* first = matrix.cells.data() + r * shape.rowStep;
    for (std::size_t c = 0; c < shape.columns && line.size() <= kLongestBlockHeader; ++c) {
      for (char symbol : texts[first[c * shape.columnStep]]) {
        if (symbol != ' ') line += symbol;
      }
    }
    if (auto checked = check(line); !checked) return checked;
  }
  return Success();
}

void WriteTable(TextFileWriter& file, const DataMatrix& matrix, const TableShape& shape, const ScoreTexts& texts,
                char endOfData) {
  if (shape.columnNames) {
    for (const auto& name : shape.columnNames->All()) file.Write(name + " ");
    file.Line();
  }
  for (std::size_t r = 0; r < shape.rows; ++r) {
    if (shape.rowNames) file.Write((*shape.rowNames)[r] + " ");
    const Cell* first = matrix.cells.data() + r * shape.rowStep;
    for (std::size_t c = 0; c < shape.columns; ++c) file.Write(texts[first[c * shape.columnStep]]);
    file.Line();
  }
  file.Line(std::string(1, endOfData));
}

// The names as written and the table's shape, for both the checks and the writing.
struct PreparedTable {
  LabelTable individualNames;
  LabelTable locusNames;
  ScoreTexts texts;
  TableShape shape;
};

// The locus names the [LocusMetrics] block pairs its lines with: those the reader will give the
// loci, the numbered defaults where the table writes no locus names.
LabelTable MetricsBlockNames(const DataMatrix& matrix, const FileLayout& layout, const LabelTable& written) {
  return layout.locusHeader ? written : MakeDefaultLocusLabels(matrix.locusCount);
}

PreparedTable Prepare(const DataMatrix& matrix, const FileLayout& layout) {
  PreparedTable table{NamesFor(matrix.individualLabels, matrix.individualCount, "OTU"),
                      NamesFor(matrix.locusLabels, matrix.locusCount, "Locus"), MakeScoreTexts(layout), {}};
  table.shape = ShapeOf(matrix, layout, table.individualNames, table.locusNames);
  return table;
}

Status CheckPrepared(const DataMatrix& matrix, const FileLayout& layout, const GroupList& groups,
                     const GroupList& locusSets, const PreparedTable& table) {
  if (auto checked = CheckWritableLayout(layout); !checked) return checked;
  if (matrix.individualCount == 0 || matrix.locusCount == 0) {
    return Failure{"The data matrix holds no individuals or no loci; a file without scores could not be read again."};
  }
  if (auto checked = CheckCells(matrix, layout); !checked) return checked;
  if (layout.individualHeader) {
    if (auto checked = CheckNames(table.individualNames, "individual", layout); !checked) return checked;
  }
  if (layout.locusHeader) {
    if (auto checked = CheckNames(table.locusNames, "locus", layout); !checked) return checked;
  }
  if (auto checked = CheckWritableMetrics(matrix.locusMetrics, MetricsBlockNames(matrix, layout, table.locusNames).All()); !checked) return checked;
  if (!layout.includeGroups && matrix.locusMetrics.Empty()) return Success();
  if (auto checked = CheckBlockHeaderLines(matrix, table.shape, table.texts); !checked) return checked;
  if (!layout.includeGroups) return Success();
  if (auto checked = CheckWritableBlock(groups, GroupBlock::Groups, table.individualNames); !checked) return checked;
  return CheckWritableBlock(locusSets, GroupBlock::LocusSets, table.locusNames);
}

}  // namespace

Status CheckWritableLayout(const FileLayout& layout) {
  const struct {
    char symbol;
    const char* role;
  } symbols[] = {{layout.presence, "Presence"},
                 {layout.absence, "Absence"},
                 {layout.ambiguity, "Ambiguity"},
                 {layout.openRemark, "OpenRemark"},
                 {layout.endOfData, "EndOfData"}};
  for (const auto& [symbol, role] : symbols) {
    if (IsDelimiter(symbol)) {
      return Failure{Unreadable(std::string(role) + " may not be a space, tab, line break or NUL character")};
    }
  }
  const char scores[] = {layout.presence, layout.absence, layout.ambiguity};
  if (scores[0] == scores[1] || scores[0] == scores[2] || scores[1] == scores[2]) {
    return Failure{Unreadable("Presence, Absence and Ambiguity must be three different characters")};
  }
  for (char score : scores) {
    if (score == layout.openRemark || score == layout.endOfData) {
      return Failure{Unreadable("Presence, Absence and Ambiguity must differ from OpenRemark and EndOfData")};
    }
  }
  if (layout.openRemark == layout.endOfData) {
    return Failure{Unreadable("OpenRemark and EndOfData must be two different characters")};
  }
  if (layout.ambiguityNegative && layout.delimitedData) {
    for (const auto& [symbol, role] : symbols) {
      if (symbol == '-') return Failure{Unreadable("With \"Ambiguity negative\" no symbol may be \"-\"")};
    }
  }
  return Success();
}

Status CheckDataFile(const DataMatrix& matrix, const FileLayout& layout, const GroupList& groups,
                     const GroupList& locusSets) {
  return CheckPrepared(matrix, layout, groups, locusSets, Prepare(matrix, layout));
}

Result<std::vector<GroupBlock>> WriteDataFile(const std::string& path, const DataMatrix& matrix,
                                              const FileLayout& layout, const GroupList& groups,
                                              const GroupList& locusSets) {
  const PreparedTable table = Prepare(matrix, layout);
  if (auto checked = CheckPrepared(matrix, layout, groups, locusSets, table); !checked) return Failure{checked.error()};
  std::vector<GroupBlock> cleaned;
  const Status written = ReplaceFileWhole(path, [&](TextFileWriter& file) {
    WriteTable(file, matrix, table.shape, table.texts, layout.endOfData);
    if (layout.includeGroups) {
      if (WriteBlock(file, groups, GroupBlock::Groups)) cleaned.push_back(GroupBlock::Groups);
      if (WriteBlock(file, locusSets, GroupBlock::LocusSets)) cleaned.push_back(GroupBlock::LocusSets);
    }
    WriteMetricsBlock(file, matrix.locusMetrics, MetricsBlockNames(matrix, layout, table.locusNames).All());
    return Success();
  });
  if (!written) return Failure{written.error()};
  return cleaned;
}

}  // namespace vorn
