// libFuzzer target for the table imports (CSV / TSV tables, GenAlEx workbooks) and the
// coordinates file. The first byte chooses the reader and its options; the rest is the file.
// Whatever the input, a reader must either fail with a message or return a matrix that keeps
// every invariant, with groups of its own individuals; the dialogs' previews of either must hold.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/text_encoding.h"
#include "io/coordinates_file.h"
#include "io/csv_table_import.h"
#include "io/genalex_import.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTable(const vorn::ImportedTable& table) {
  const vorn::DataMatrix& m = table.matrix;
  Check(m.individualCount > 0 && m.locusCount > 0);
  Check(m.cells.size() == m.CellCount());
  Check(m.individualLabels.Count() == m.individualCount && m.locusLabels.Count() == m.locusCount);
  for (auto cell : m.cells) Check(vorn::IsBandState(cell));
  // Labels are UTF-8 and cut at 20 characters, which may take more than 20 bytes.
  for (const auto& label : m.individualLabels.All()) {
    Check(!label.empty() && vorn::CharacterCount(label) <= vorn::kLabelLength && vorn::IsValidUtf8(label));
  }
  for (const auto& group : table.groups) {
    Check(!group.members.empty() && vorn::IsValidUtf8(group.name));
    for (const auto& member : group.members) Check(m.individualLabels.Find(member) >= 0);
  }
  for (const auto& [name, point] : table.coordinates.points) Check(m.individualLabels.Find(name) >= 0);
  (void)vorn::ImportPreview(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  constexpr char kSeparators[] = {0, ',', ';', '\t'};
  const char separator = kSeparators[(flags >> 2) & 3];
  (void)vorn::RawPreview(text, separator ? separator : ',');

  vorn::Result<vorn::ImportedTable> table = vorn::Failure{""};
  switch (flags & 3) {
    case 0:
    case 1: {
      vorn::TableImportOptions options;
      options.separator = separator;
      options.individualsInRows = flags & 1;
      options.locusNames = flags & 16;
      options.nameLine = (flags >> 5) & 1;
      if (flags & 64) options.groupLines = {2, 3};
      if (flags & 128) options.skippedLines = {4};
      if ((flags & 192) == 192) {
        options.coordinateLines = {6, 5};
        options.coordinateKind = vorn::CoordinateKind::LatitudeLongitude;
      }
      table = vorn::ReadCsvTable(text, options);
      break;
    }
    case 2: {
      vorn::GenalexOptions options;
      options.separator = separator;
      options.missing = static_cast<vorn::GenalexMissing>((flags >> 4) % 3);
      if (options.missing == vorn::GenalexMissing::Zero) options.absence = "2";
      table = vorn::ReadGenalex(text, options);
      break;
    }
    case 3: {
      auto coordinates = vorn::ReadCoordinatesText(text);
      Check(coordinates.ok() || !coordinates.error().empty());
      return 0;
    }
  }
  if (table.ok()) CheckTable(*table);
  else Check(!table.error().empty());
  return 0;
}
