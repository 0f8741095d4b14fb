// The missing data map of 5000 individuals x 20000 loci (a fifth of the scores missing) at the
// dialog's default size, 1000 x 800: the map's arrangement, the aggregation of the cells into the
// grid's pixels, and the whole picture painted into an image. The picture should take well under
// a second; bench/run_missing_map_bench.sh runs numpy's block mean of the same matrix beside it.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "pictures/missing_map.h"
#include "pictures/missing_map_painter.h"
#include "pictures/picture_files.h"

namespace {

const vorn::DataMatrix& LargeMatrix() {
  static const vorn::DataMatrix data = [] {
    vorn::DataMatrix matrix;
    matrix.individualCount = 5000;
    matrix.locusCount = 20000;
    matrix.cells.resize(matrix.CellCount());
    std::mt19937 engine(3);
    for (auto& cell : matrix.cells) {
      const auto draw = engine() % 10;
      cell = draw < 2 ? vorn::Missing : draw < 6 ? vorn::Presence : vorn::Absence;
    }
    matrix.individualLabels = vorn::MakeNumberedLabels("i", matrix.individualCount);
    return matrix;
  }();
  return data;
}

void BM_MissingMapAggregate5000x20000(benchmark::State& state) {
  const vorn::DataMatrix& data = LargeMatrix();
  const vorn::MissingMap map = vorn::MakeMissingMap(data, {}, 0, true);
  for (auto _ : state) {
    const vorn::MissingPixels pixels = vorn::AggregateMissing(data, map, 950, 500);
    benchmark::DoNotOptimize(pixels.shares.data());
  }
}
BENCHMARK(BM_MissingMapAggregate5000x20000)->Unit(benchmark::kMillisecond);

void BM_MissingMapPicture5000x20000(benchmark::State& state) {
  vorn::PictureApplication application;
  const vorn::DataMatrix& data = LargeMatrix();
  for (auto _ : state) {
    const vorn::MissingMap map = vorn::MakeMissingMap(data, {}, 0, true);
    QImage image(1000, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    vorn::MissingMapDrawing(map, data, QSizeF(1000, 800)).Paint(painter);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_MissingMapPicture5000x20000)->Unit(benchmark::kMillisecond);

}  // namespace
