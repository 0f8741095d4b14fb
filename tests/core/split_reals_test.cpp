#include "core/split_reals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace vorn {
namespace {

// Every extended value comes back exactly: those that split into a double and its remainder, and
// those kept whole (zero-near, huge, not finite).
TEST(SplitReals, KeepsEveryValueExactly) {
  const Real third = Real(1) / 3;
  const Real values[] = {0,
                         -0.0L,
                         third,
                         -third * 1e300L,
                         0.123456789012345678901L,
                         std::ldexp(third, -1000),  // below 2^-958: kept whole
                         std::numeric_limits<Real>::denorm_min(),
                         std::numeric_limits<Real>::max(),
                         std::numeric_limits<Real>::infinity(),
                         -std::numeric_limits<Real>::infinity()};
  SplitReals store(std::size(values) + 1);
  for (std::size_t i = 0; i < std::size(values); ++i) store.Set(i, values[i]);
  store.Set(std::size(values), std::numeric_limits<Real>::quiet_NaN());
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(store.At(i), values[i]) << i;
    EXPECT_EQ(store.Nearest()[i], static_cast<double>(values[i])) << i;
  }
  EXPECT_TRUE(std::isnan(store.At(std::size(values))));
}

// Threads storing values that are kept whole at distinct indices, as the parallel kernels do: the
// store must guard its own map, whatever its library was compiled with.
TEST(SplitReals, ValuesKeptWholeMayBeStoredFromSeveralThreads) {
  constexpr std::size_t kThreads = 4, kEach = 20000;
  SplitReals store(kThreads * kEach);
  const auto whole = [](std::size_t index) { return std::ldexp(Real(index + 1) / 3, -1000); };
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = t; i < store.Count(); i += kThreads) store.Set(i, whole(i));
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t i = 0; i < store.Count(); ++i) ASSERT_EQ(store.At(i), whole(i)) << i;
}

}  // namespace
}  // namespace vorn
