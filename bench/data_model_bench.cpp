// The Data tab's model on 2000 individuals by 5000 loci with 10% missing scores and three groups:
// what a screen of the grid costs when it is painted (text and colour of 60 rows by 150 columns at
// a random place, as scrolling asks for them), beside the same cells read straight from the
// matrix, and a refresh after a command. The grid's goal: a screen in well under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <random>

#include "ui/data_table_model.h"

namespace {

using namespace vorn;

constexpr int kRows = 60, kColumns = 150;

struct Fixture {
  Workspace ws;
  Fixture() {
    std::mt19937 random(7);
    DataMatrix& matrix = ws.data;
    matrix.individualCount = 2000;
    matrix.locusCount = 5000;
    matrix.cells.resize(std::size_t{2000} * 5000);
    for (auto& cell : matrix.cells) {
      const unsigned draw = random() % 20;
      cell = draw < 2 ? Missing : (draw % 2 ? Presence : Absence);
    }
    matrix.individualLabels = MakeNumberedLabels("ind", 2000);
    matrix.locusLabels = MakeNumberedLabels("band", 5000);
    ws.dataLoaded = true;
    ws.groups.groups.push_back({"AllData", matrix.individualLabels.All()});
    for (int g = 0; g < 3; ++g) {
      GroupEntry group{"AllData/Pop" + std::to_string(g), {}};
      for (int i = g; i < 2000; i += 3) group.members.push_back(matrix.individualLabels[static_cast<std::size_t>(i)]);
      ws.groups.groups.push_back(group);
    }
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "vorn_ui_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  return application;
}

void BM_DataModelScreen(benchmark::State& state) {
  Application();
  ui::DataTableModel model(Data().ws);
  std::mt19937 random(1);
  for (auto _ : state) {
    const int top = static_cast<int>(random() % (2000 - kRows));
    const int left = static_cast<int>(random() % (5000 - kColumns));
    for (int row = top; row < top + kRows; ++row) {
      benchmark::DoNotOptimize(model.headerData(row, Qt::Vertical, Qt::DecorationRole));
      for (int column = left; column < left + kColumns; ++column) {
        const QModelIndex index = model.index(row, column);
        benchmark::DoNotOptimize(model.data(index, Qt::DisplayRole));
        benchmark::DoNotOptimize(model.data(index, Qt::BackgroundRole));
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_DataModelScreen)->Unit(benchmark::kMicrosecond);

// The floor: the same cells read from the matrix without any model.
void BM_MatrixScreen(benchmark::State& state) {
  const DataMatrix& matrix = Data().ws.data;
  std::mt19937 random(1);
  for (auto _ : state) {
    const int top = static_cast<int>(random() % (2000 - kRows));
    const int left = static_cast<int>(random() % (5000 - kColumns));
    unsigned sum = 0;
    for (int row = top; row < top + kRows; ++row) {
      for (int column = left; column < left + kColumns; ++column) sum += matrix.At(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_MatrixScreen)->Unit(benchmark::kMicrosecond);

void BM_DataModelRefresh(benchmark::State& state) {
  Application();
  ui::DataTableModel model(Data().ws);
  for (auto _ : state) model.Refresh();
}
BENCHMARK(BM_DataModelRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
