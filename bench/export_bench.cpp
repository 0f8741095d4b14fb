// Every export on a band matrix of 2000 individuals by 5000 loci with 10% missing scores and two
// populations: the time to check and write the whole file (Nexus with the distance block).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "groups/group_model.h"
#include "io/arlequin_export.h"
#include "io/genepop_export.h"
#include "io/hickory_export.h"
#include "io/hindex_export.h"
#include "io/label_list_export.h"
#include "io/nexus_export.h"
#include "io/ntsys_export.h"
#include "io/structure_export.h"
#include "io/syntax_export.h"

namespace {

using namespace vorn;

struct Fixture {
  DataMatrix matrix;
  GroupList groups;
  DistanceMatrix distances;

  Fixture() : distances(2000) {
    std::mt19937 random(7);
    matrix.individualCount = 2000;
    matrix.locusCount = 5000;
    matrix.cells.resize(std::size_t{2000} * 5000);
    for (auto& cell : matrix.cells) {
      const unsigned draw = random() % 20;
      cell = draw < 2 ? Missing : (draw % 2 ? Presence : Absence);
    }
    matrix.individualLabels = MakeNumberedLabels("ind", 2000);
    matrix.locusLabels = MakeNumberedLabels("band", 5000);
    groups.push_back({"AllData", matrix.individualLabels.All()});
    GroupEntry a{"AllData/PopA", {}}, b{"AllData/PopB", {}};
    for (std::size_t i = 0; i < 2000; ++i) (i % 2 ? b : a).members.push_back(matrix.individualLabels[i]);
    groups.push_back(a);
    groups.push_back(b);
    for (auto& d : distances.entries) d = static_cast<Real>(random() % 1000) / 1000;
  }
};

const Fixture& Data() {
  static const Fixture fixture;
  return fixture;
}

void RunExport(benchmark::State& state, const std::function<Status(const std::string&)>& write) {
  const std::string path = "/tmp/vorn-bench-export.txt";
  for (auto _ : state) {
    const auto written = write(path);
    if (!written.ok()) state.SkipWithError(written.error().c_str());
  }
  for (const char* suffix : {"", "_indivlabels", "_rowlabels", "_indiv", "_parents"}) {
    std::remove(InsertIntoFileName(path, suffix).c_str());
  }
}

void BM_ExportNexusWithDistances(benchmark::State& state) {
  NexusOptions options;
  options.distances = &Data().distances;
  RunExport(state, [&](const std::string& p) { return WriteNexus(p, Data().matrix, FileLayout{}, options); });
}
void BM_ExportHickory(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteHickory(p, Data().matrix, Data().groups, '?'); });
}
void BM_ExportArlequin(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteArlequin(p, Data().matrix, Data().groups, false, '?'); });
}
void BM_ExportStructureDiploid(benchmark::State& state) {
  RunExport(state, [](const std::string& p) {
    return WriteStructure(p, Data().matrix, Data().groups, StructureOptions{2, true, true});
  });
}
void BM_ExportGenePop(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteGenePop(p, Data().matrix, true); });
}
void BM_ExportNtsys(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteNtsys(p, Data().matrix); });
}
void BM_ExportOtuList(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteOtuList(p, Data().matrix); });
}
void BM_ExportSyntax(benchmark::State& state) {
  RunExport(state, [](const std::string& p) { return WriteSyntax(p, Data().matrix); });
}
void BM_ExportHindex(benchmark::State& state) {
  const std::vector<Real> frequencies(5000, 0.5L);
  RunExport(state, [&](const std::string& p) {
    return WriteHindex(p, HindexData{&Data().matrix, "AllData", "AllData/PopA", "AllData/PopB", frequencies, frequencies});
  });
}

BENCHMARK(BM_ExportNexusWithDistances)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHickory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportArlequin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportStructureDiploid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportGenePop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportNtsys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportOtuList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSyntax)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHindex)->Unit(benchmark::kMillisecond);

}  // namespace
