// libFuzzer target for the data file reader. The first two bytes choose the layout (orientation,
// headers, delimiting) and the score symbols; the rest is the file. Whatever the input, the
// reader must either fail with a message or return a matrix that keeps every invariant.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "io/data_file_reader.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = "/tmp/vorn-fuzz-" + std::to_string(::getpid()) + ".txt";
  return path;
}

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
  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data + 2, 1, size - 2, file);
  std::fclose(file);

  auto matrix = vorn::ReadDataFile(ScratchFile(), layout);
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
    if (label.size() > vorn::kLabelLength || label.empty()) std::abort();
  }
  return 0;
}
