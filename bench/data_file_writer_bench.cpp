// Saving and selecting on band matrices of realistic size: 2000 individuals by 1000 loci with
// 10% missing scores. Writing in both orientations (rows read the locus-major cells with a
// stride), and making a group of every second individual the working data and back.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "groups/selection.h"
#include "io/data_file_writer.h"

namespace {

vorn::DataMatrix RandomMatrix(std::size_t individuals, std::size_t loci) {
  std::mt19937 random(7);
  vorn::DataMatrix m;
  m.individualCount = static_cast<std::uint16_t>(individuals);
  m.locusCount = static_cast<std::uint16_t>(loci);
  m.cells.resize(individuals * loci);
  for (auto& cell : m.cells) {
    const unsigned draw = random() % 20;
    cell = draw < 2 ? vorn::Missing : (draw % 2 ? vorn::Presence : vorn::Absence);
  }
  m.individualLabels = vorn::MakeNumberedLabels("ind", individuals);
  m.locusLabels = vorn::MakeNumberedLabels("band", loci);
  return m;
}

void BM_WriteDataFile(benchmark::State& state) {
  const vorn::DataMatrix matrix = RandomMatrix(2000, 1000);
  vorn::FileLayout layout;
  layout.individualsInColumns = state.range(0) != 0;
  layout.delimitedData = state.range(1) != 0;
  layout.locusHeader = true;
  const std::string path = "/tmp/vorn-bench-write.txt";
  for (auto _ : state) {
    auto written = vorn::WriteDataFile(path, matrix, layout);
    if (!written.ok()) state.SkipWithError(written.error().c_str());
  }
  state.SetLabel(std::string(layout.individualsInColumns ? "individuals in columns" : "individuals in rows") +
                 (layout.delimitedData ? ", delimited" : ", undelimited"));
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteDataFile)->Args({1, 1})->Args({0, 1})->Args({0, 0})->Unit(benchmark::kMillisecond);

void BM_SelectGroupAndBack(benchmark::State& state) {
  vorn::Workspace ws;
  ws.data = RandomMatrix(2000, 1000);
  std::vector<std::string> members;
  for (std::size_t i = 0; i < 2000; i += 2) members.push_back(ws.data.individualLabels[i]);
  ws.groups.groups = {vorn::GroupEntry{"AllData", ws.data.individualLabels.All(), false},
                      vorn::GroupEntry{"AllData/Half", members, false}};
  for (auto _ : state) {
    if (!vorn::SelectGroup(ws, 1).ok() || !vorn::SelectGroup(ws, 0).ok()) state.SkipWithError("selection failed");
  }
  state.SetLabel("1000 of 2000 individuals, 1000 loci");
}
BENCHMARK(BM_SelectGroupAndBack)->Unit(benchmark::kMillisecond);

}  // namespace
