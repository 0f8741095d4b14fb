#include "core/kernel_paths.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

// The path forced before each test is forced again after it.
class KernelPaths : public ::testing::Test {
 protected:
  void TearDown() override { ForcePath(before_); }

 private:
  KernelPath before_ = ForcedPath();
};

TEST_F(KernelPaths, EachKernelTakesTheForcedPathOrTheBestBelowItThatRuns) {
  for (const KernelPath forced : kKernelPaths) {
    ForcePath(forced);
    EXPECT_EQ(ForcedPath(), forced);
    for (const Kernel kernel : kKernels) {
      const KernelPath path = PathOf(kernel);
      EXPECT_LE(path, forced) << KernelName(kernel);
      EXPECT_TRUE(PathRuns(kernel, path)) << KernelName(kernel);
      EXPECT_EQ(path == forced, PathRuns(kernel, forced)) << KernelName(kernel);
    }
  }
}

TEST_F(KernelPaths, TheChosenPathsAreNamedKernelByKernel) {
  ForcePath(KernelPath::Plain);
  EXPECT_EQ(ChosenPathsText(),
            "pair counts plain, weighted pair counts plain, UPGMA row scan plain, Jacobi magnitude scan plain, "
            "admixture block sums plain, split weights factor plain");
}

TEST_F(KernelPaths, SettingsNameThePaths) {
  const struct {
    const char* setting;
    KernelPath path;
  } cases[] = {{"plain", KernelPath::Plain}, {"avx2", KernelPath::Avx2}, {"avx512", KernelPath::Avx512}};
  for (const auto& c : cases) {
    EXPECT_EQ(ForcePathOfSetting(c.setting), std::nullopt) << c.setting;
    EXPECT_EQ(ForcedPath(), c.path) << c.setting;
  }
  ForcePath(KernelPath::Plain);
  for (const char* wrong : {"AVX2", "avx", "", "avx2 "}) {
    EXPECT_EQ(ForcePathOfSetting(wrong),
              std::string("VORN_KERNEL_PATH is plain, avx2 or avx512, not \"") + wrong + "\"");
    EXPECT_EQ(ForcedPath(), KernelPath::Plain) << "nothing forced by \"" << wrong << "\"";
  }
}

}  // namespace
}  // namespace vorn
