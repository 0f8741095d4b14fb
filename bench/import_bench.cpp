// Importing spreadsheet tables of 2000 samples by 10000 loci with 10% missing scores: an R-style
// CSV table (sample, population, loci, NA for missing) and the same data as a GenAlEx workbook
// (-1 for missing), each read from its file as File > Import reads it. The files stay in /tmp
// for the peers of bench/run_import_bench.sh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "io/csv_table_import.h"
#include "io/genalex_import.h"

namespace {

constexpr std::size_t kSamples = 2000;
constexpr std::size_t kLoci = 10000;
constexpr std::size_t kPopulations = 20;

// The table as R's write.csv(row.names = FALSE) writes it, or in the GenAlEx layout.
std::string WriteTable(bool genalex) {
  const std::string path = genalex ? "/tmp/vorn-import-bench-genalex.csv" : "/tmp/vorn-import-bench-table.csv";
  std::mt19937 random(11);
  std::string text;
  if (genalex) {
    text += std::to_string(kLoci) + "," + std::to_string(kSamples) + "," + std::to_string(kPopulations);
    for (std::size_t p = 0; p < kPopulations; ++p) text += "," + std::to_string(kSamples / kPopulations);
    text += "\r\nbench,,";
    for (std::size_t p = 0; p < kPopulations; ++p) text += ",pop" + std::to_string(p + 1);
    text += "\r\nSample,Pop";
  } else {
    text += "\"sample\",\"population\"";
  }
  for (std::size_t l = 0; l < kLoci; ++l) text += genalex ? ",L" + std::to_string(l + 1) : ",\"L" + std::to_string(l + 1) + "\"";
  text += "\r\n";
  for (std::size_t i = 0; i < kSamples; ++i) {
    const std::string population = "pop" + std::to_string(i / (kSamples / kPopulations) + 1);
    text += genalex ? "s" + std::to_string(i + 1) + "," + population : "\"s" + std::to_string(i + 1) + "\",\"" + population + "\"";
    for (std::size_t l = 0; l < kLoci; ++l) {
      const unsigned draw = random() % 20;
      text += draw < 2 ? (genalex ? ",-1" : ",NA") : (draw % 2 ? ",1" : ",0");
    }
    text += "\r\n";
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path;
}

void BM_ImportCsvTable(benchmark::State& state) {
  const std::string path = WriteTable(false);
  vorn::TableImportOptions options;
  options.groupLines = {2};
  for (auto _ : state) {
    auto text = vorn::ReadFileText(path);
    auto table = vorn::ReadCsvTable(*text, options);
    if (!table) state.SkipWithError(table.error().c_str());
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_ImportCsvTable)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportGenalex(benchmark::State& state) {
  const std::string path = WriteTable(true);
  for (auto _ : state) {
    auto text = vorn::ReadFileText(path);
    auto table = vorn::ReadGenalex(*text, vorn::GenalexOptions{});
    if (!table) state.SkipWithError(table.error().c_str());
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_ImportGenalex)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
