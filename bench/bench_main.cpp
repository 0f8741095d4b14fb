// The benchmarks' entry: the kernels' path forced by VORN_KERNEL_PATH ("plain", "avx2" or
// "avx512") when it is set, and named in the context the report opens with.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "core/kernel_paths.h"

int main(int argc, char** argv) {
  if (const char* setting = std::getenv("VORN_KERNEL_PATH")) {
    if (const std::optional<std::string> problem = vorn::ForcePathOfSetting(setting)) {
      std::cerr << *problem << "\n";
      return 2;
    }
  }
  benchmark::AddCustomContext("kernels", vorn::ChosenPathsText());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
