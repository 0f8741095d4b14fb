#include "io/sample_sheet.h"

#include <algorithm>
#include <unordered_map>

#include "io/imported_table.h"

namespace vorn {
namespace {

std::string NameList(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

Result<SampleSheet> ReadSampleSheet(std::string_view fileText, const SampleSheetOptions& options) {
  if (auto checked = CheckTableText(fileText); !checked) return Failure{checked.error()};
  const std::string_view text = TableText(fileText);
  const char separator = options.separator ? options.separator : DetectSeparator(fileText);
  CsvTokenizer records(text, separator);
  auto more = records.NextFilled();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"The file is empty."};

  const std::size_t titleRow = records.Row();
  const std::size_t width = records.UsedFieldCount();
  if (!options.coordinateColumns.empty() && options.coordinateColumns.size() != 2) {
    return Failure{"Choose none or two coordinate columns, not " + std::to_string(options.coordinateColumns.size()) + "."};
  }
  std::vector<std::size_t> chosen{options.nameColumn};
  chosen.insert(chosen.end(), options.groupColumns.begin(), options.groupColumns.end());
  chosen.insert(chosen.end(), options.coordinateColumns.begin(), options.coordinateColumns.end());
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    if (chosen[i] == 0 || chosen[i] > width) {
      return CellFailure({titleRow, chosen[i]}, "column " + std::to_string(chosen[i]) + " lies beyond the " +
                                                    std::to_string(width) + " columns of the title row");
    }
    if (std::find(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(i), chosen[i]) !=
        chosen.begin() + static_cast<std::ptrdiff_t>(i)) {
      return CellFailure({titleRow, chosen[i]}, "the column is chosen twice");
    }
  }

  SampleSheet sheet;
  sheet.levels = options.groupColumns.size();
  sheet.coordinateKind = options.coordinateKind;
  IndividualNames names;
  for (more = records.NextFilled(); more && *more; more = records.NextFilled()) {
    if (auto checked = CheckRowWidth(records, width, titleRow); !checked) return Failure{checked.error()};
    const std::size_t row = records.Row();
    const std::size_t nameIndex = options.nameColumn - 1;
    if (auto added = names.Add(records.Field(nameIndex), {row, options.nameColumn}); !added) {
      return Failure{added.error()};
    }
    SheetRow sheetRow;
    sheetRow.name = CutLabel(ImportedName(records.Field(nameIndex)));
    for (std::size_t column : options.groupColumns) {
      sheetRow.groups.emplace_back(records.Field(column - 1));
      sheetRow.groupCells.push_back({row, column});
    }
    if (!options.coordinateColumns.empty()) {
      const std::size_t a = options.coordinateColumns[0], b = options.coordinateColumns[1];
      auto point = ReadCoordinatePoint({records.Field(a - 1), {row, a}}, {records.Field(b - 1), {row, b}},
                                       options.coordinateKind, separator);
      if (!point) return Failure{point.error()};
      sheetRow.point = *point;
    }
    sheet.rows.push_back(std::move(sheetRow));
  }
  if (!more) return Failure{more.error()};
  if (sheet.rows.empty()) return Failure{"The sample sheet holds no rows below its title row."};
  return sheet;
}

Result<SheetMatch> MatchSampleSheet(const SampleSheet& sheet, const LabelTable& individuals) {
  std::unordered_map<std::string, std::size_t> rowOf;
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) rowOf.emplace(sheet.rows[r].name, r);
  SheetMatch match;
  match.coordinates.kind = sheet.coordinateKind;
  std::vector<bool> used(sheet.rows.size(), false);
  GroupPaths paths;
  for (const std::string& individual : individuals.All()) {
    const auto found = rowOf.find(individual);
    if (found == rowOf.end()) {
      match.onlyInData.push_back(individual);
      continue;
    }
    const SheetRow& row = sheet.rows[found->second];
    used[found->second] = true;
    ++match.matched;
    if (sheet.levels > 0) {
      const std::vector<std::string_view> groupNames(row.groups.begin(), row.groups.end());
      if (auto added = paths.Add(individual, groupNames, row.groupCells); !added) return Failure{added.error()};
    }
    if (row.point) match.coordinates.points[individual] = *row.point;
  }
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    if (!used[r]) match.onlyInSheet.push_back(sheet.rows[r].name);
  }
  if (match.matched == 0) return Failure{"None of the names of the sample sheet is an individual of the data."};
  match.groups = paths.Entries();
  return match;
}

std::string SheetMismatchText(const SheetMatch& match) {
  std::string text;
  if (!match.onlyInSheet.empty()) {
    const std::size_t n = match.onlyInSheet.size();
    text += std::to_string(n) + (n == 1 ? " name of the sample sheet is not an individual" : " names of the sample sheet are not individuals") +
            " of the data: " + NameList(match.onlyInSheet);
  }
  if (!match.onlyInData.empty()) {
    const std::size_t n = match.onlyInData.size();
    if (!text.empty()) text += "\r\n";
    text += std::to_string(n) + (n == 1 ? " individual of the data is not" : " individuals of the data are not") +
            " in the sample sheet: " + NameList(match.onlyInData);
  }
  return text;
}

}  // namespace vorn
