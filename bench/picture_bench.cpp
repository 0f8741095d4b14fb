// Laying out and painting a dendrogram of 4000 tips into a 1000 x 1000 image, the size the tree
// viewer's Fit shows: the drawing should stay well under a second.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "pictures/picture_files.h"
#include "pictures/picture_scenes.h"
#include "pictures/tree_painter.h"

namespace {

std::string CaterpillarOfPairs(int pairs) {
  std::string line = "(";
  for (int i = 0; i < pairs; ++i) {
    line += (i ? ",(" : "(") + std::string("t") + std::to_string(i) + ":0.5,u" + std::to_string(i) + ":0.5):0.5";
  }
  return line + ");";
}

void BM_DrawTreeOf4000Tips(benchmark::State& state) {
  vorn::PictureApplication application;
  const std::string line = CaterpillarOfPairs(2000);
  for (auto _ : state) {
    auto scene = vorn::MakeTreeScene({line}, 1, "constree.ph", {}, 1);
    QImage image(1000, 1000, QImage::Format_RGB32);
    QPainter painter(&image);
    vorn::TreeDrawing(*scene, 14, 600).Paint(painter);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_DrawTreeOf4000Tips)->Unit(benchmark::kMillisecond);

}  // namespace
