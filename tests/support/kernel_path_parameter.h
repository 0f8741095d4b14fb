// Kernel comparisons run once per path, the path as the test's parameter; a path whose body does
// not run on this processor is skipped.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/kernel_paths.h"

namespace vorn::testing {

inline auto EveryKernelPath() { return ::testing::ValuesIn(kKernelPaths); }

inline std::string KernelPathTestName(const ::testing::TestParamInfo<KernelPath>& info) {
  switch (info.param) {
    case KernelPath::Avx512: return "Avx512";
    case KernelPath::Avx2: return "Avx2";
    case KernelPath::Plain: break;
  }
  return "Plain";
}

// A test run with every kernel forced to the parameter's path, skipped where kernel has no body
// for it that runs; the path forced before is forced again after.
template <Kernel kernel>
class OnEachPathOf : public ::testing::TestWithParam<KernelPath> {
 protected:
  void SetUp() override {
    if (!PathRuns(kernel, GetParam())) GTEST_SKIP() << "this processor does not run the path";
    ForcePath(GetParam());
  }
  void TearDown() override { ForcePath(before_); }

 private:
  KernelPath before_ = ForcedPath();
};

}  // namespace vorn::testing
