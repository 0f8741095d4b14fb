// libFuzzer target for the data file reader. The first two bytes choose the layout (orientation,
// headers, delimiting) and the score symbols; the rest is the file. Whatever the input, the
// reader must either fail with a message or return a matrix that keeps every invariant.
#include <cstdint>
#include <cstdlib>

#include "core/text_encoding.h"
#include "fuzz_file.h"
#include "io/data_file_reader.h"

namespace {

vorn::FileLayout LayoutFrom(std::uint8_t flags, std::uint8_t symbols) {
  vorn::FileLayout layout;
  layout.individualsInColumns = flags & 1;
  layout.individualHeader = flags & 2;
  layout.locusHeader = flags & 4;
  layout.delimitedData = flags & 8;
  if (symbols & 1) layout.presence = '+';
  if (symbols & 2) layout.absence = '-';
  if (symbols & 4) layout.ambiguity = '0';  // the same as Absence: must read as Absence
  if (symbols & 8) layout.endOfData = '1';
  if (symbols & 16) layout.closeRemark = '{';
  return layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const vorn::FileLayout layout = LayoutFrom(data[0], data[1]);
  if (!vorn::fuzz::WriteScratch(data + 2, size - 2)) return 0;

  auto matrix = vorn::ReadDataFile(vorn::fuzz::ScratchFile(), layout);
  if (!matrix.ok()) {
    if (matrix.error().empty()) std::abort();
    return 0;
  }
  const vorn::DataMatrix& m = *matrix;
  if (m.individualCount == 0 || m.locusCount == 0) std::abort();
  if (m.cells.size() != m.CellCount()) std::abort();
  if (m.individualLabels.Count() != m.individualCount || m.locusLabels.Count() != m.locusCount) std::abort();
  for (auto cell : m.cells) {
    if (!vorn::IsBandState(cell)) std::abort();
  }
  for (const auto& label : m.individualLabels.All()) {
    if (vorn::CharacterCount(label) > vorn::kLabelLength || !vorn::IsValidUtf8(label) || label.empty()) std::abort();
  }
  return 0;
}
