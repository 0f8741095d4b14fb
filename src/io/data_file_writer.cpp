#include "io/data_file_writer.h"

#include <algorithm>
#include <array>

#include "core/text_file.h"

namespace vorn {
namespace {

const char* const kUnreadable = ", or the saved file could not be read again.";

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

Status CheckNames(const LabelTable& names, const FileLayout& layout) {
  const struct {
    char symbol;
    const char* role;
  } reserved[] = {{layout.endOfData, "EndOfData"}, {layout.openRemark, "OpenRemark"}};
  for (const auto& name : names.All()) {
    for (const auto& [symbol, role] : reserved) {
      if (name.find(symbol) != std::string::npos) {
        return Failure{"The name \"" + name + "\" contains the " + role + " character \"" + std::string(1, symbol) +
                       "\"; please choose another " + role + " character" + kUnreadable};
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

// One line of the table: an optional name, then the scores of one locus (individuals in
// columns) or of one individual, taken every stride cells from first.
void WriteRow(TextFileWriter& file, const std::string* name, const Cell* first, std::size_t count, std::size_t stride,
              const ScoreTexts& texts) {
  if (name) file.Write(*name + " ");
  for (std::size_t k = 0; k < count; ++k) file.Write(texts[first[k * stride]]);
  file.Line();
}

void WriteHeader(TextFileWriter& file, const LabelTable& names) {
  for (const auto& name : names.All()) file.Write(name + " ");
  file.Line();
}

}  // namespace

Status CheckWritableLayout(const FileLayout& layout) {
  const char scores[] = {layout.presence, layout.absence, layout.ambiguity};
  if (scores[0] == scores[1] || scores[0] == scores[2] || scores[1] == scores[2]) {
    return Failure{std::string("Presence, Absence and Ambiguity must be three different characters") + kUnreadable};
  }
  for (char score : scores) {
    if (score == layout.openRemark || score == layout.endOfData) {
      return Failure{std::string("Presence, Absence and Ambiguity must differ from OpenRemark and EndOfData") +
                     kUnreadable};
    }
  }
  if (layout.ambiguityNegative && layout.delimitedData) {
    for (char symbol : {layout.presence, layout.absence, layout.ambiguity, layout.openRemark, layout.endOfData}) {
      if (symbol == '-') {
        return Failure{std::string("With \"Ambiguity negative\" no symbol may be \"-\"") + kUnreadable};
      }
    }
  }
  return Success();
}

Status WriteDataFile(const std::string& path, const DataMatrix& matrix, const FileLayout& layout) {
  const std::size_t individuals = matrix.individualCount;
  const std::size_t loci = matrix.locusCount;
  const LabelTable individualNames = NamesFor(matrix.individualLabels, individuals, "OTU");
  const LabelTable locusNames = NamesFor(matrix.locusLabels, loci, "Locus");
  if (auto checked = CheckWritableLayout(layout); !checked) return checked;
  if (layout.individualHeader) {
    if (auto checked = CheckNames(individualNames, layout); !checked) return checked;
  }
  if (layout.locusHeader) {
    if (auto checked = CheckNames(locusNames, layout); !checked) return checked;
  }
  if (auto checked = CheckCells(matrix, layout); !checked) return checked;

  auto file = TextFileWriter::Open(path, WriteMode::Rewrite);
  if (!file) return Failure{file.error()};
  const ScoreTexts texts = MakeScoreTexts(layout);
  // In the locus-major layout a locus is a run of adjacent cells and an individual a column of
  // cells spaced individualCount apart.
  if (layout.individualsInColumns) {
    if (layout.individualHeader) WriteHeader(*file, individualNames);
    for (std::size_t l = 0; l < loci; ++l) {
      WriteRow(*file, layout.locusHeader ? &locusNames[l] : nullptr, matrix.Locus(l), individuals, 1, texts);
    }
  } else {
    if (layout.locusHeader) WriteHeader(*file, locusNames);
    for (std::size_t i = 0; i < individuals; ++i) {
      WriteRow(*file, layout.individualHeader ? &individualNames[i] : nullptr, matrix.cells.data() + i, loci,
               individuals, texts);
    }
  }
  file->Line(std::string(1, layout.endOfData));
  return file->Close();
}

}  // namespace vorn
