#include "io/nexus_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>

#include "core/number_format.h"
#include "io/export_common.h"
#include "io/written_names.h"

namespace vorn {
namespace {

constexpr const char* kBadNexusCell = "Data Error. Could not complete saving of data file(2)";
// Characters that end an unquoted Nexus word or change it: punctuation, quotes, "_" (read as a
// blank) and "+" "-" (punctuation in the standard, words in some readers).
constexpr std::string_view kNexusPunctuation = "()[]{}/\\,;:=*'\"`<>^_+-";

bool NeedsQuotes(std::string_view word) {
  return std::any_of(word.begin(), word.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 127 || kNexusPunctuation.find(c) != std::string_view::npos;
  });
}

std::string FoldedCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

Status CheckSymbols(const FileLayout& symbols) {
  for (char c : {symbols.absence, symbols.presence, symbols.ambiguity}) {
    if (static_cast<unsigned char>(c) <= ' ' || kNexusPunctuation.find(c) != std::string_view::npos) {
      return Failure{"The score symbol " + QuotedName(std::string(1, c)) +
                     " cannot be written to a Nexus file: it is Nexus punctuation. Nothing was exported."};
    }
  }
  return Success();
}

std::string FormatLine(const FileLayout& symbols, bool standard) {
  std::string line = "FORMAT DATATYPE= ";
  line += standard ? "STANDARD" : "RESTRICTION";
  if (standard && (symbols.absence != '0' || symbols.presence != '1')) {
    line += " SYMBOLS=\"";
    line += symbols.absence;
    line += symbols.presence;
    line += '"';
  }
  line += " MISSING= ";
  line += symbols.ambiguity;
  line += " INTERLEAVE;";
  return line;
}

void WriteDistances(TextFileWriter& file, const DistanceMatrix& distances) {
  file.Line("BEGIN DISTANCES;");
  file.Line("DIMENSIONS NTAX=" + std::to_string(distances.n) + ";");
  file.Line("FORMAT TRIANGLE=LOWER DIAGONAL NOLABELS;");
  file.Line("MATRIX");
  std::string line;
  for (std::size_t i = 0; i < distances.n; ++i) {
    line.clear();
    for (std::size_t j = 0; j <= i; ++j) {
      const Real d = distances(i, j);
      if (std::isfinite(d)) AppendFixed(line, d, 10);
      else line += '?';
      line += ' ';
    }
    file.Line(line);
  }
  file.Line(";");
  file.Line("END;");
  file.Line();
}

}  // namespace

std::string NexusWord(std::string_view label) {
  const std::string cut = CutLabel(label);
  if (!NeedsQuotes(cut)) return cut;
  std::string quoted = "'";
  for (char c : cut) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  quoted += '\'';
  return quoted;
}

Status CheckNexusLabels(const LabelTable& labels) {
  std::unordered_set<std::string> seen;
  for (const std::string& label : labels.All()) {
    if (!seen.insert(FoldedCase(CutLabel(label))).second) {
      return Failure{"Two individuals are called " + QuotedName(CutLabel(label)) +
                     " (Nexus does not tell upper from lower case). Nothing was exported."};
    }
  }
  return Success();
}

Status CheckNexusTaxa(const DataMatrix& matrix, std::string_view badCell) {
  if (matrix.individualLabels.Empty()) return Failure{kNoNexusNames};
  if (auto checked = CheckNexusLabels(matrix.individualLabels); !checked) return checked;
  return CheckScores(matrix, badCell);
}

void WriteTaxaBlock(TextFileWriter& file, const DataMatrix& matrix) { WriteTaxaBlock(file, matrix.individualLabels); }

void WriteTaxaBlock(TextFileWriter& file, const LabelTable& labels) {
  file.Line("BEGIN TAXA;");
  file.Line("DIMENSIONS NTAX= " + std::to_string(labels.Count()) + ";");
  file.Line("TAXLABELS");
  for (const std::string& label : labels.All()) file.Line(NexusWord(label));
  file.Line(";");
  file.Line("END;");
  file.Line();
}

Status CheckNexus(const DataMatrix& matrix, const FileLayout& symbols) {
  if (auto checked = CheckNexusTaxa(matrix, kBadNexusCell); !checked) return checked;
  return CheckSymbols(symbols);
}

Status WriteNexus(const std::string& path, const DataMatrix& matrix, const FileLayout& symbols,
                  const NexusOptions& options) {
  if (auto checked = CheckNexus(matrix, symbols); !checked) return checked;
  const ScoreCodes codes{std::string{symbols.presence, ' '}, std::string{symbols.absence, ' '},
                         std::string{symbols.ambiguity, ' '}};
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("#NEXUS");
    WriteTaxaBlock(file, matrix);
    const std::string n = std::to_string(matrix.individualCount);
    const std::string m = std::to_string(matrix.locusCount);
    if (options.charactersBlock) {
      file.Line("BEGIN CHARACTERS;");
      file.Line("DIMENSIONS NCHAR= " + m + ";");
    } else {
      file.Line("BEGIN DATA;");
      file.Line("DIMENSIONS NTAX= " + n + " NCHAR= " + m + ";");
    }
    file.Line(FormatLine(symbols, options.standard));
    file.Line("MATRIX");
    std::string line;
    for (std::size_t i = 0; i < matrix.individualCount; ++i) {
      line = NexusWord(matrix.individualLabels[i]) + " ";
      AppendIndividualCodes(line, matrix, i, codes);
      file.Line(line);
    }
    file.Line(";");
    file.Line("END;");
    file.Line();
    if (options.distances) WriteDistances(file, *options.distances);
    return Success();
  });
}

}  // namespace vorn
