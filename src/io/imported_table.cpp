#include "io/imported_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/text_encoding.h"
#include "groups/group_model.h"
#include "io/data_file_reader.h"

namespace vorn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char ScoreSymbol(Cell cell) { return cell == Presence ? '1' : cell == Absence ? '0' : '?'; }

void AppendPadded(std::string& line, std::string_view text, std::size_t width) {
  line += text;
  line.append(width > text.size() ? width - text.size() : 1, ' ');
}

}  // namespace

std::vector<std::string> SplitValues(std::string_view text) {
  std::vector<std::string> values;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) values.emplace_back(text.substr(start, i - start));
  }
  return values;
}

std::string JoinValues(const std::vector<std::string>& values) {
  std::string text;
  for (const auto& value : values) text += (text.empty() ? "" : " ") + value;
  return text;
}

Status CheckDistinctValues(const ScoreValues& values) {
  const struct {
    const std::vector<std::string>* values;
    const char* first;   // as the first word of the message
    const char* second;  // as its second
  } lists[] = {{&values.presence, "Present", "present"},
               {&values.absence, "Absent", "absent"},
               {&values.missing, "Missing", "missing"}};
  for (std::size_t a = 0; a < 3; ++a) {
    for (std::size_t b = a + 1; b < 3; ++b) {
      for (const std::string& value : *lists[a].values) {
        if (std::find(lists[b].values->begin(), lists[b].values->end(), value) == lists[b].values->end()) continue;
        return Failure{std::string(lists[a].first) + " and " + lists[b].second + " need different values: '" + value +
                       "' is in both."};
      }
    }
  }
  return Success();
}

ScoreReader::ScoreReader(const ScoreValues& values) {
  std::fill(std::begin(single_), std::end(single_), kNone);
  // Later entries win, so the lists go in the reverse of the order of tests.
  const std::pair<const std::vector<std::string>*, Cell> lists[] = {
      {&values.presence, Presence}, {&values.missing, Missing}, {&values.absence, Absence}};
  for (const auto& [list, state] : lists) {
    for (const auto& value : *list) {
      if (value.size() == 1) {
        single_[static_cast<unsigned char>(value[0])] = state;
      } else if (!value.empty()) {
        longer_.insert(longer_.begin(), {value, state});
      } else {
        empty_ = state;
      }
    }
  }
  if (values.emptyIsMissing && empty_ == kNone) empty_ = Missing;
}

bool ScoreReader::ReadLong(std::string_view field, Cell& state) const {
  if (field.empty()) {
    state = empty_;
    return empty_ != kNone;
  }
  for (const auto& [value, code] : longer_) {
    if (value == field) {
      state = code;
      return true;
    }
  }
  return false;
}

Failure ScoreReader::Refusal(std::string_view field, CellPosition cell) {
  return CellFailure(cell, "'" + std::string(TrimBlanks(field)) + "' is neither present, absent nor missing");
}

Status CheckRowWidth(const CsvTokenizer& record, std::size_t width, std::size_t firstRow) {
  const std::size_t used = record.UsedFieldCount();
  if (used > width) {
    return CellFailure({record.Row(), used}, "a value beyond the " + std::to_string(width) + " columns of row " +
                                                 std::to_string(firstRow));
  }
  if (record.FieldCount() < width) {
    return CellFailure({record.Row(), record.FieldCount() + 1}, "the row ends after " +
                                                                    std::to_string(record.FieldCount()) +
                                                                    " columns, where row " + std::to_string(firstRow) +
                                                                    " has " + std::to_string(width));
  }
  return Success();
}

std::string CleanImportedName(std::string_view field) {
  std::string name(TrimBlanks(field));
  for (char& c : name) {
    if (IsBlank(c)) c = '_';
  }
  return name;
}

namespace {

// CleanImportedName with each of the characters made replacement, in UTF-8.
std::string ImportedText(std::string_view field, std::string_view characters, char replacement) {
  std::string name = CleanImportedName(field);
  std::replace_if(
      name.begin(), name.end(), [&](char c) { return characters.find(c) != std::string_view::npos; }, replacement);
  return DisplayText(name);
}

}  // namespace

std::string ImportedName(std::string_view field) { return ImportedText(field, ",;=", '_'); }

std::string ImportedGroupName(std::string_view field) {
  std::string name = ImportedText(field, "=", '_');
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
}

Status IndividualNames::Add(std::string_view field, CellPosition cell) {
  const std::string cleaned = ImportedName(field);
  if (cleaned.empty()) return CellFailure(cell, "the " + kind_ + " has no name");
  const std::string label = CutLabel(cleaned);
  const auto [seen, added] = seen_.emplace(label, cell);
  if (!added) {
    const std::string shown = cleaned == label ? "'" + label + "'" : "'" + cleaned + "' (cut to 20 characters: '" + label + "')";
    return CellFailure(cell, "the name " + shown + " is already the name of " + CellName(seen->second));
  }
  labels_.Add(label);
  return Success();
}

Status GroupPaths::Add(const std::string& individual, const std::vector<std::string_view>& names,
                       const std::vector<CellPosition>& cells) {
  if (nodes_.empty()) nodes_.push_back(Node{std::string(kAllData), {}, {}});
  levels_ = names.size();
  std::size_t parent = 0;
  for (std::size_t level = 0; level < names.size(); ++level) {
    const std::string name = ImportedGroupName(names[level]);
    if (name.empty()) return CellFailure(cells[level], "the group name is empty");
    std::string path = nodes_[parent].path + "/" + name;
    auto found = byPath_.find(path);
    if (found == byPath_.end()) {
      if (nodes_.size() > kMaxListEntries) {
        return CellFailure(cells[level], "more than " + std::to_string(kMaxListEntries) + " groups; at most " +
                                             std::to_string(kMaxListEntries) + " can be kept");
      }
      found = byPath_.emplace(path, nodes_.size()).first;
      nodes_[parent].children.push_back(nodes_.size());
      nodes_.push_back(Node{std::move(path), {}, {}});
    }
    parent = found->second;
    nodes_[parent].members.push_back(CutLabel(individual));
  }
  return Success();
}

GroupList GroupPaths::Entries() const {
  GroupList entries;
  if (nodes_.empty()) return entries;
  // Depth first: each group, then its sub-groups.
  std::vector<std::size_t> pending(nodes_[0].children.rbegin(), nodes_[0].children.rend());
  while (!pending.empty()) {
    const Node& node = nodes_[pending.back()];
    pending.pop_back();
    entries.push_back(GroupEntry{node.path, node.members, false});
    pending.insert(pending.end(), node.children.rbegin(), node.children.rend());
  }
  return entries;
}

Result<DataMatrix> ScoreRows::Build(std::size_t individuals, std::size_t loci) {
  if (auto size = CheckMatrixSize(individuals, loci); !size) return Failure{size.error()};
  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(individuals);
  matrix.locusCount = static_cast<std::uint16_t>(loci);
  if (!individualsInRows_) {
    matrix.cells = std::move(cells_);
    return matrix;
  }
  // Individual-major rows into the locus-major layout, in blocks that stay in the cache.
  matrix.cells.resize(individuals * loci);
  constexpr std::size_t kBlock = 64;
  for (std::size_t i0 = 0; i0 < individuals; i0 += kBlock) {
    const std::size_t i1 = std::min(individuals, i0 + kBlock);
    for (std::size_t l0 = 0; l0 < loci; l0 += kBlock) {
      const std::size_t l1 = std::min(loci, l0 + kBlock);
      for (std::size_t i = i0; i < i1; ++i) {
        for (std::size_t l = l0; l < l1; ++l) matrix.cells[l * individuals + i] = cells_[i * loci + l];
      }
    }
  }
  cells_.clear();
  cells_.shrink_to_fit();
  return matrix;
}

std::string ImportCounts(const ImportedTable& table) {
  const DataMatrix& m = table.matrix;
  std::string text = std::to_string(m.individualCount) + " individuals, " + std::to_string(m.locusCount) + " loci" +
                     GroupAndCoordinateCounts(table.groups.size(), table.groupLevels, table.coordinates);
  if (!m.locusMetrics.Empty()) text += ", " + std::to_string(m.locusMetrics.MetricCount()) + " locus metrics";
  return text;
}

std::string GroupAndCoordinateCounts(std::size_t groups, std::size_t levels, const IndividualCoordinates& coordinates) {
  std::string text;
  if (groups > 0) {
    text += ", " + std::to_string(groups) + " groups on " + std::to_string(levels) + (levels == 1 ? " level" : " levels");
  }
  if (!coordinates.Empty()) text += ", coordinates of " + std::to_string(coordinates.points.size()) + " individuals";
  return text;
}

std::string ImportPreview(const ImportedTable& table, std::size_t rows, std::size_t loci) {
  const DataMatrix& m = table.matrix;
  const std::size_t shownLoci = std::min<std::size_t>(loci, m.locusCount);
  const std::size_t shownRows = std::min<std::size_t>(rows, m.individualCount);
  // The group column shows each individual's deepest group, as a path below AllData.
  std::vector<std::string> groupOf(shownRows);
  for (const GroupEntry& entry : table.groups) {
    for (std::size_t i = 0; i < shownRows; ++i) {
      if (std::find(entry.members.begin(), entry.members.end(), m.individualLabels[i]) != entry.members.end()) {
        groupOf[i] = entry.name.substr(kAllData.size() + 1);
      }
    }
  }
  std::size_t nameWidth = 5, groupWidth = 6;
  for (std::size_t i = 0; i < shownRows; ++i) {
    nameWidth = std::max(nameWidth, m.individualLabels[i].size() + 1);
    groupWidth = std::max(groupWidth, groupOf[i].size() + 1);
  }
  std::string text;
  AppendPadded(text, "Name", nameWidth);
  if (!table.groups.empty()) AppendPadded(text, "Groups", groupWidth);
  for (std::size_t l = 0; l < shownLoci; ++l) text += m.locusLabels[l] + " ";
  if (shownLoci < m.locusCount) text += "...";
  for (std::size_t i = 0; i < shownRows; ++i) {
    text += "\n";
    AppendPadded(text, m.individualLabels[i], nameWidth);
    if (!table.groups.empty()) AppendPadded(text, groupOf[i], groupWidth);
    for (std::size_t l = 0; l < shownLoci; ++l) {
      text += ScoreSymbol(m.At(i, l));
      text.append(m.locusLabels[l].size(), ' ');
    }
  }
  if (shownRows < m.individualCount) text += "\n...";
  return text;
}

std::string RawPreview(std::string_view text, char separator, std::size_t rows) {
  CsvTokenizer records(TableText(text), separator);
  std::string preview;
  for (std::size_t r = 0; r < rows; ++r) {
    auto more = records.Next();
    if (!more || !*more) break;
    std::string line;
    for (std::size_t f = 0; f < records.FieldCount() && line.size() < 100; ++f) {
      line += (f ? " | " : "") + std::string(records.Field(f));
    }
    for (char& c : line) {
      if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    preview += (r ? "\n" : "") + line.substr(0, 100);
  }
  return preview;
}

Result<double> ReadCoordinate(std::string_view field, CellPosition cell, char separator) {
  std::string text(TrimBlanks(field));
  if (separator != ',') std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return CellFailure(cell, "'" + std::string(TrimBlanks(field)) + "' is not a number");
  }
  return value;
}

Result<std::optional<CoordinatePoint>> ReadCoordinatePoint(CoordinateField first, CoordinateField second,
                                                           CoordinateKind kind, char separator) {
  if (TrimBlanks(first.text).empty() && TrimBlanks(second.text).empty()) return std::optional<CoordinatePoint>();
  const auto a = ReadCoordinate(first.text, first.cell, separator);
  const auto b = ReadCoordinate(second.text, second.cell, separator);
  // Two values that are not numbers: the one met first in reading order is named.
  const bool firstMetFirst = std::pair(first.cell.row, first.cell.column) < std::pair(second.cell.row, second.cell.column);
  if (!a && (b || firstMetFirst)) return Failure{a.error()};
  if (!b) return Failure{b.error()};
  if (kind == CoordinateKind::LatitudeLongitude) {
    if (std::abs(*a) > 90) return CellFailure(first.cell, "a latitude lies between -90 and 90");
    if (std::abs(*b) > 180) return CellFailure(second.cell, "a longitude lies between -180 and 180");
  }
  return std::optional<CoordinatePoint>(CoordinatePoint{*a, *b});
}

Result<std::optional<CoordinatePoint>> ReadCoordinatePair(const CsvTokenizer& record, std::size_t index,
                                                          CoordinateKind kind, bool swapped, char separator) {
  const CoordinateField a{record.Field(index), {record.Row(), index + 1}};
  const CoordinateField b{record.Field(index + 1), {record.Row(), index + 2}};
  return swapped ? ReadCoordinatePoint(b, a, kind, separator) : ReadCoordinatePoint(a, b, kind, separator);
}

}  // namespace vorn
