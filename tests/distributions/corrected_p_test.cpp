// Holm and Benjamini-Hochberg corrections against R's stats::p.adjust on random vectors with
// ties, ones, zeros and undefined entries (NaN entries are left out of the family, as p.adjust
// leaves out NA). Skipped without R.
#include "distributions/corrected_p.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>

#include "support/temp_dir.h"

namespace vorn {
namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

TEST(CorrectedP, HandWorkedFamilyOfFour) {
  const std::vector<Real> p = {0.01L, kNaN, 0.04L, 0.03L, 0.005L};
  EXPECT_EQ(FamilySize(p), 4u);
  const std::vector<Real> holm = HolmCorrected(p), bh = BenjaminiHochbergCorrected(p);
  const std::vector<Real> holmExpected = {0.03L, kNaN, 0.06L, 0.06L, 0.02L};
  const std::vector<Real> bhExpected = {0.02L, kNaN, 0.04L, 0.04L, 0.02L};
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (std::isnan(p[i])) {
      EXPECT_TRUE(std::isnan(holm[i]) && std::isnan(bh[i]));
      continue;
    }
    EXPECT_NEAR(double(holm[i]), double(holmExpected[i]), 1e-18) << i;
    EXPECT_NEAR(double(bh[i]), double(bhExpected[i]), 1e-18) << i;
  }
  EXPECT_TRUE(HolmCorrected({}).empty());
}

TEST(CorrectedP, EqualRsPAdjust) {
  if (std::system("Rscript -e 'stats::p.adjust(0.5)' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "R not installed (apt-get install r-base-core); comparison with p.adjust skipped";
  }
  std::mt19937 engine(1979);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  testing::TempDir dir;
  for (std::size_t size : {1u, 2u, 7u, 64u, 300u}) {
    std::vector<Real> p(size);
    for (Real& x : p) {
      const double u = uniform(engine);
      x = u < 0.1 ? kNaN : u < 0.2 ? Real(0.05) : u < 0.25 ? Real(1) : u < 0.3 ? Real(0) : Real(uniform(engine) * 0.2);
    }
    const std::string path = (dir.Path() / "p.txt").string();
    {
      std::ofstream out(path);
      out.precision(21);
      for (Real x : p) out << (std::isnan(x) ? std::string("NA") : (std::ostringstream() << std::setprecision(21) << x).str()) << '\n';
    }
    const std::string command = "Rscript -e 'p <- scan(\"" + path +
                                "\", quiet = TRUE); h <- p.adjust(p, \"holm\"); b <- p.adjust(p, \"BH\"); "
                                "cat(sprintf(\"%.17g %.17g\\n\", h, b), sep = \"\")'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    const std::vector<Real> holm = HolmCorrected(p), bh = BenjaminiHochbergCorrected(p);
    char holmText[64], bhText[64];
    std::size_t i = 0;
    while (std::fscanf(pipe, "%63s %63s", holmText, bhText) == 2) {
      ASSERT_LT(i, size);
      const std::string what = "size " + std::to_string(size) + " entry " + std::to_string(i);
      if (std::string(holmText) == "NA") {
        EXPECT_TRUE(std::isnan(holm[i]) && std::isnan(bh[i])) << what;
      } else {
        EXPECT_NEAR(std::strtod(holmText, nullptr), double(holm[i]), 1e-12) << what;
        EXPECT_NEAR(std::strtod(bhText, nullptr), double(bh[i]), 1e-12) << what;
      }
      ++i;
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(i, size);
  }
}

}  // namespace
}  // namespace vorn
