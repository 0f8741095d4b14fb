#include "io/genalex_import.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <unordered_map>

namespace vorn {
namespace {

Result<std::size_t> ReadCount(std::string_view field, CellPosition cell, const std::string& what) {
  const std::string_view text = TrimBlanks(field);
  std::size_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return CellFailure(cell, "'" + std::string(text) + "' is not " + what);
  }
  return count;
}


std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

bool StartsWith(std::string_view title, std::string_view start) {
  const std::string_view text = TrimBlanks(title);
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != start[i]) return false;
  }
  return true;
}

// Row 1: the counts, the population sizes and the regions.
struct Header {
  std::size_t row1 = 0, row2 = 0, row3 = 0;
  std::size_t loci = 0, samples = 0, populations = 0;
  std::vector<std::size_t> sizes;
  std::vector<std::size_t> regionOfPopulation;  // empty without regions
  std::vector<std::string> regionNames;
  std::vector<std::string> populationNames;     // of row 2; "" where it names none
  bool coordinates = false;
  bool swapCoordinates = false;  // the titles are longitude, latitude
  CoordinateKind kind = CoordinateKind::Planar;
};

Status ReadCounts(const CsvTokenizer& row, Header& header) {
  const std::size_t r = row.Row();
  header.row1 = r;
  auto loci = ReadCount(row.Field(0), {r, 1}, "a number of loci");
  if (!loci) return Failure{loci.error()};
  auto samples = ReadCount(row.Field(1), {r, 2}, "a number of samples");
  if (!samples) return Failure{samples.error()};
  auto populations = ReadCount(row.Field(2), {r, 3}, "a number of populations");
  if (!populations) return Failure{populations.error()};
  header.loci = *loci;
  header.samples = *samples;
  header.populations = *populations;
  if (header.loci == 0 || header.loci > kMaxDimension) {
    return CellFailure({r, 1}, "the number of loci must lie between 1 and 65535");
  }
  if (header.samples == 0 || header.samples > kMaxDimension) {
    return CellFailure({r, 2}, "the number of samples must lie between 1 and 65535");
  }
  if (header.populations == 0 || header.populations > header.samples) {
    return CellFailure({r, 3}, "the number of populations must lie between 1 and the number of samples");
  }
  for (std::size_t p = 0; p < header.populations; ++p) {
    auto size = ReadCount(row.Field(3 + p), {r, 4 + p}, "the size of population " + std::to_string(p + 1));
    if (!size) return Failure{size.error()};
    header.sizes.push_back(*size);
  }
  // Regions: an empty cell, their number, and the number of populations in each.
  const std::size_t used = row.UsedFieldCount();
  const std::size_t gap = 3 + header.populations;
  if (used <= gap) return Success();
  if (!TrimBlanks(row.Field(gap)).empty()) {
    return CellFailure({r, gap + 1}, "row 1 gives " + std::to_string(header.populations) +
                                         " populations, but holds another size here (regions follow an empty cell)");
  }
  auto regions = ReadCount(row.Field(gap + 1), {r, gap + 2}, "a number of regions");
  if (!regions) return Failure{regions.error()};
  if (*regions == 0 || *regions > header.populations) {
    return CellFailure({r, gap + 2}, "the number of regions must lie between 1 and the number of populations");
  }
  if (used > gap + 2 + *regions) return CellFailure({r, used}, "a value after the populations of the regions");
  for (std::size_t g = 0; g < *regions; ++g) {
    const CellPosition cell{r, gap + 3 + g};
    auto count = ReadCount(row.Field(gap + 2 + g), cell, "the number of populations of region " + std::to_string(g + 1));
    if (!count) return Failure{count.error()};
    if (*count == 0) return CellFailure(cell, "a region without populations");
    if (*count > header.populations - header.regionOfPopulation.size()) {
      return CellFailure(cell, "the regions hold more populations than the " + std::to_string(header.populations) +
                                   " row 1 gives");
    }
    header.regionOfPopulation.insert(header.regionOfPopulation.end(), *count, g);
  }
  if (header.regionOfPopulation.size() != header.populations) {
    return CellFailure({r, gap + 2}, "the regions hold " + std::to_string(header.regionOfPopulation.size()) +
                                         " populations, row 1 gives " + std::to_string(header.populations));
  }
  return Success();
}

// Row 2: the names of the populations and regions.
Status ReadNames(const CsvTokenizer& row, Header& header) {
  const std::size_t r = row.Row();
  header.row2 = r;
  for (std::size_t p = 0; p < header.populations; ++p) header.populationNames.push_back(ImportedGroupName(row.Field(3 + p)));
  const std::size_t regions = header.regionOfPopulation.empty() ? 0 : header.regionOfPopulation.back() + 1;
  for (std::size_t g = 0; g < regions; ++g) {
    const std::size_t column = header.populations + 5 + g;
    header.regionNames.push_back(ImportedGroupName(row.Field(column)));
    if (header.regionNames.back().empty()) return CellFailure({r, column + 1}, "region " + std::to_string(g + 1) + " has no name");
  }
  return Success();
}

// Row 3: the locus names, and the coordinate titles after an empty column.
Result<std::vector<std::string>> ReadTitles(const CsvTokenizer& row, Header& header) {
  const std::size_t r = row.Row();
  header.row3 = r;
  const std::size_t loci = header.loci;
  const std::string given = "row " + std::to_string(header.row1) + ", column 1 gives " + std::to_string(loci) + " loci";
  std::vector<std::string> names;
  for (std::size_t l = 0; l < loci; ++l) {
    std::string name = ImportedName(row.Field(2 + l));
    if (name.empty()) return CellFailure({r, 3 + l}, given + ", but this column has no locus name");
    names.push_back(std::move(name));
  }
  const std::size_t used = row.UsedFieldCount();
  if (used <= 2 + loci) return names;
  if (!TrimBlanks(row.Field(2 + loci)).empty()) {
    return CellFailure({r, 3 + loci}, given + ", but the header holds another: " + Quoted(TrimBlanks(row.Field(2 + loci))));
  }
  if (used != 5 + loci) {
    return CellFailure({r, used < 5 + loci ? used + 1 : 6 + loci},
                       "two coordinate titles (X, Y or Latitude, Longitude) follow the empty column after the loci");
  }
  header.coordinates = true;
  const std::string_view first = row.Field(3 + loci), second = row.Field(4 + loci);
  if (StartsWith(first, "lat")) header.kind = CoordinateKind::LatitudeLongitude;
  if (StartsWith(first, "lon") && StartsWith(second, "lat")) {
    header.kind = CoordinateKind::LatitudeLongitude;
    header.swapCoordinates = true;
  }
  return names;
}

}  // namespace

ScoreValues GenalexScores(const GenalexOptions& options) {
  ScoreValues values;
  values.presence = {options.presence};
  values.absence = {options.absence};
  values.missing.clear();
  values.emptyIsMissing = options.missing == GenalexMissing::Empty;
  if (options.missing == GenalexMissing::MinusOne) values.missing = {"-1"};
  if (options.missing == GenalexMissing::Zero) values.missing = {"0"};
  return values;
}

Result<ImportedTable> ReadGenalex(std::string_view fileText, const GenalexOptions& options) {
  if (auto checked = CheckTableText(fileText); !checked) return Failure{checked.error()};
  const std::string_view text = TableText(fileText);
  ImportedTable table;
  table.separator = options.separator ? options.separator : DetectSeparator(fileText);
  CsvTokenizer records(text, table.separator);

  Header header;
  auto more = records.NextFilled();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"The file is empty."};
  if (auto counts = ReadCounts(records, header); !counts) return Failure{counts.error()};
  more = records.Next();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"Row " + std::to_string(header.row1 + 1) + ": the file ends before the row of names"};
  if (auto named = ReadNames(records, header); !named) return Failure{named.error()};
  more = records.Next();
  if (!more) return Failure{more.error()};
  if (!*more) return Failure{"Row " + std::to_string(header.row2 + 1) + ": the file ends before the row of titles"};
  auto locusNames = ReadTitles(records, header);
  if (!locusNames) return Failure{locusNames.error()};
  const std::size_t width = std::max(records.UsedFieldCount(), 2 + header.loci);

  const ScoreReader reader(GenalexScores(options));
  const std::size_t loci = header.loci;
  ScoreRows scores(true);
  IndividualNames names;
  GroupPaths groups;
  std::unordered_map<std::string, std::size_t> populationIndex;
  std::vector<std::string> populations;
  std::vector<std::size_t> populationCounts;
  std::size_t samples = 0;
  for (more = records.NextFilled(); more && *more; more = records.NextFilled()) {
    const std::size_t row = records.Row();
    if (options.rowLimit > 0 && row > options.rowLimit) {
      table.cut = true;
      break;
    }
    if (auto checked = CheckRowWidth(records, width, header.row3); !checked) return Failure{checked.error()};
    if (++samples > header.samples) {
      return CellFailure({row, 1}, "row " + std::to_string(header.row1) + ", column 2 gives " +
                                       std::to_string(header.samples) + " samples, but the data hold more");
    }
    if (auto added = names.Add(records.Field(0), {row, 1}); !added) return Failure{added.error()};
    const std::string name = ImportedName(records.Field(0));

    const std::string population = ImportedGroupName(records.Field(1));
    if (population.empty()) return CellFailure({row, 2}, "the sample has no population");
    auto [found, isNew] = populationIndex.emplace(population, populations.size());
    if (isNew) {
      if (populations.size() == header.populations) {
        return CellFailure({row, 2}, "population " + Quoted(population) + " is one more than the " +
                                         std::to_string(header.populations) + " that row " +
                                         std::to_string(header.row1) + ", column 3 gives");
      }
      const std::string& named = header.populationNames[populations.size()];
      if (!named.empty() && named != population) {
        return CellFailure({header.row2, 4 + populations.size()},
                           "row 2 names population " + std::to_string(populations.size() + 1) + " " + Quoted(named) +
                               ", but the data's population " + std::to_string(populations.size() + 1) + " is " +
                               Quoted(population) + " (row " + std::to_string(row) + ")");
      }
      populations.push_back(population);
      populationCounts.push_back(0);
    }
    const std::size_t p = found->second;
    ++populationCounts[p];
    std::vector<std::string_view> path;
    if (!header.regionOfPopulation.empty()) path.push_back(header.regionNames[header.regionOfPopulation[p]]);
    path.push_back(population);
    if (auto grouped = groups.Add(name, path, std::vector<CellPosition>(path.size(), {row, 2})); !grouped) {
      return Failure{grouped.error()};
    }

    std::vector<Cell>& cells = scores.Cells();
    for (std::size_t l = 0; l < loci; ++l) {
      Cell state;
      if (!reader.Read(records.Field(2 + l), state)) return ScoreReader::Refusal(records.Field(2 + l), {row, 3 + l});
    cells.push_back(state);
    }
    if (width > 2 + loci && !TrimBlanks(records.Field(2 + loci)).empty()) {
      return CellFailure({row, 3 + loci}, "a value after the " + std::to_string(loci) + " loci that row " +
                                              std::to_string(header.row1) + ", column 1 gives");
    }
    if (header.coordinates) {
      auto point = ReadCoordinatePair(records, 3 + loci, header.kind, header.swapCoordinates, table.separator);
      if (!point) return Failure{point.error()};
      if (*point) table.coordinates.points[CutLabel(name)] = **point;
    }
  }
  if (!more) return Failure{more.error()};

  const std::size_t row1 = header.row1;
  if (!table.cut && samples != header.samples) {
    return CellFailure({row1, 2}, "row 1 gives " + std::to_string(header.samples) + " samples, the data rows hold " +
                                      std::to_string(samples));
  }
  if (!table.cut && populations.size() != header.populations) {
    return CellFailure({row1, 3}, "row 1 gives " + std::to_string(header.populations) + " populations, the data hold " +
                                      std::to_string(populations.size()));
  }
  for (std::size_t p = 0; p < populations.size(); ++p) {
    if (!table.cut && populationCounts[p] != header.sizes[p]) {
      return CellFailure({row1, 4 + p}, "row 1 gives population " + Quoted(populations[p]) + " " +
                                            std::to_string(header.sizes[p]) + " samples, the data " +
                                            std::to_string(populationCounts[p]));
    }
  }

  auto matrix = scores.Build(samples, loci);
  if (!matrix) return Failure{matrix.error()};
  table.matrix = std::move(*matrix);
  table.matrix.individualLabels = names.TakeLabels();
  for (const auto& locus : *locusNames) table.matrix.locusLabels.Add(locus);
  table.groups = groups.Entries();
  table.groupLevels = groups.Levels();
  table.coordinates.kind = header.kind;
  return table;
}

}  // namespace vorn
