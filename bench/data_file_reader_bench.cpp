// Reading band matrices of realistic size: 2000 individuals by 1000 loci with 10% missing
// scores, in the default layout (individuals in columns, delimited) and transposed undelimited.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "io/data_file_reader.h"

namespace {

std::string WriteMatrixFile(std::size_t individuals, std::size_t loci, bool inColumns, bool delimited) {
  const std::string path = "/tmp/vorn-bench-" + std::to_string(individuals) + "x" + std::to_string(loci) +
                           (inColumns ? "-columns" : "-rows") + (delimited ? "-delimited" : "-packed") + ".txt";
  std::mt19937 random(7);
  std::string text;
  const std::size_t rows = inColumns ? loci : individuals;
  const std::size_t columns = inColumns ? individuals : loci;
  for (std::size_t c = 0; c < columns; ++c) text += (inColumns ? "ind" : "band") + std::to_string(c) + " ";
  text += "\r\n";
  for (std::size_t r = 0; r < rows; ++r) {
    if (!inColumns) text += "ind" + std::to_string(r) + " ";
    for (std::size_t c = 0; c < columns; ++c) {
      const unsigned draw = random() % 20;
      text += draw < 2 ? '?' : (draw % 2 ? '1' : '0');
      if (delimited) text += ' ';
    }
    text += "\r\n";
  }
  text += "*\r\n";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path;
}

void BM_ReadDataFile(benchmark::State& state) {
  const bool inColumns = state.range(0) != 0;
  const bool delimited = state.range(1) != 0;
  const std::string path = WriteMatrixFile(2000, 1000, inColumns, delimited);
  vorn::FileLayout layout;
  layout.individualsInColumns = inColumns;
  layout.individualHeader = true;
  layout.locusHeader = !inColumns;
  layout.delimitedData = delimited;
  for (auto _ : state) {
    auto matrix = vorn::ReadDataFile(path, layout);
    if (!matrix.ok()) state.SkipWithError(matrix.error().c_str());
    benchmark::DoNotOptimize(matrix);
  }
  state.SetLabel(std::string(inColumns ? "individuals in columns" : "individuals in rows") +
                 (delimited ? ", delimited" : ", undelimited"));
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadDataFile)->Args({1, 1})->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

}  // namespace
