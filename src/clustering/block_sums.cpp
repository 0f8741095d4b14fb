#include "clustering/block_sums.h"

#include <cmath>
#include <cstring>
#include <vector>

// The lane helpers below are always inlined, so no call passes their vectors: the ABI note on
// returning a vector without AVX concerns calls that never happen.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vorn {
namespace {

// kBlockLanes doubles, loaded and stored without alignment; the plain body runs them as pairs
// of SSE2 registers, the AVX2 body as one register.
typedef double Lanes __attribute__((vector_size(sizeof(double) * kBlockLanes), aligned(sizeof(double))));
typedef std::int8_t CodeLanes __attribute__((vector_size(kBlockLanes)));

[[gnu::always_inline]] inline Lanes Load(const double* at) {
  Lanes x;
  std::memcpy(&x, at, sizeof x);
  return x;
}

[[gnu::always_inline]] inline Lanes LoadCodes(const std::int8_t* at) {
  CodeLanes codes;
  std::memcpy(&codes, at, sizeof codes);
  return __builtin_convertvector(codes, Lanes);
}

typedef std::int64_t WordLanes __attribute__((vector_size(sizeof(double) * kBlockLanes), aligned(sizeof(double))));

// Lane products of P, split every kProductRun cells into a power of two, whose exponent is kept,
// and a mantissa in [1, 2) that goes on multiplying: one logarithm per lane at the end. A
// product of kProductRun P's, each at least kBound^2, stays a normal double.
struct LogSum {
  Lanes product = Lanes{} + 1;
  Lanes exponent = Lanes{};
  std::size_t pending = 0;

  [[gnu::always_inline]] void Add(Lanes p) {
    product *= p;
    if (++pending == kProductRun) Split();
  }
  [[gnu::always_inline]] void Split() {
    constexpr std::int64_t kMantissa = (std::int64_t{1} << 52) - 1, kOne = std::int64_t{1023} << 52;
    const WordLanes bits = reinterpret_cast<WordLanes>(product);
    exponent += __builtin_convertvector((bits >> 52) - 1023, Lanes);
    product = reinterpret_cast<Lanes>((bits & kMantissa) | kOne);
    pending = 0;
  }
  [[gnu::always_inline]] double Value() const {
    constexpr double kLn2 = 0.693147180559945309417232121458176568;
    double value = 0;
    for (std::size_t j = 0; j < kBlockLanes; ++j) value += exponent[j] * kLn2 + std::log(product[j]);
    return value;
  }
};

[[gnu::always_inline]] inline double LaneTotal(Lanes x) {
  double total = 0;
  for (std::size_t j = 0; j < kBlockLanes; ++j) total += x[j];
  return total;
}

// Per-thread room for the lanes of the cells' values and the sums at a K the body does not fix.
Lanes* Scratch(std::size_t lanes) {
  thread_local std::vector<double> scratch;
  if (scratch.size() < lanes * kBlockLanes) scratch.resize(lanes * kBlockLanes);
  return reinterpret_cast<Lanes*>(scratch.data());
}

// The one body of every path: K clusters (FixedK, or block.clusters when FixedK is 0); the
// derivatives when Derivatives.
template <BandModel Model, std::size_t FixedK, bool Derivatives>
[[gnu::always_inline]] inline double Body(const BlockCells& block, const double* x, double* gradient,
                                          double* hessian) {
  const std::size_t k = FixedK > 0 ? FixedK : block.clusters;
  const std::size_t pairs = k * (k + 1) / 2;
  constexpr std::size_t kRoom = FixedK > 0 ? FixedK * (FixedK + 3) / 2 + FixedK : 1;
  Lanes fixedRoom[kRoom];
  Lanes* room = FixedK > 0 ? fixedRoom : Scratch(2 * k + pairs);
  Lanes* v = room;             // the cells' values, k lanes
  Lanes* sumGradient = v + k;  // k lanes
  Lanes* sumHessian = sumGradient + k;  // the pairs c <= d, row by row
  for (std::size_t j = 0; j < 2 * k + pairs; ++j) room[j] = Lanes{};
  LogSum logSum;
  for (std::size_t cell = 0; cell < block.cells; cell += kBlockLanes) {
    const Lanes s = LoadCodes(block.codes + cell);
    Lanes f = Lanes{};
    for (std::size_t c = 0; c < k; ++c) {
      v[c] = Load(block.values + c * block.cells + cell);
      f += x[c] * v[c];
    }
    const Lanes base = 1 - 0.5 * (s + s * s);
    const Lanes p = Model == BandModel::DiploidDominant ? base + s * f * f : base + s * f;
    logSum.Add(p);
    if constexpr (Derivatives) {
      const Lanes inverse = 1 / p;
      const Lanes w = Model == BandModel::DiploidDominant ? 2 * s * f * inverse : s * inverse;
      const Lanes h = Model == BandModel::DiploidDominant ? 2 * s * inverse - w * w : -(w * w);
      std::size_t pair = 0;
      for (std::size_t c = 0; c < k; ++c) {
        sumGradient[c] += w * v[c];
        const Lanes hv = h * v[c];
        for (std::size_t d = c; d < k; ++d) sumHessian[pair++] += hv * v[d];
      }
    }
  }
  if constexpr (Derivatives) {
    std::size_t pair = 0;
    for (std::size_t c = 0; c < k; ++c) {
      gradient[c] = LaneTotal(sumGradient[c]);
      for (std::size_t d = c; d < k; ++d) hessian[c * k + d] = hessian[d * k + c] = LaneTotal(sumHessian[pair++]);
    }
  }
  return logSum.Value();
}

template <BandModel Model, bool Derivatives>
[[gnu::always_inline]] inline double ForK(const BlockCells& block, const double* x, double* gradient,
                                          double* hessian) {
  switch (block.clusters) {
    case 1: return Body<Model, 1, Derivatives>(block, x, gradient, hessian);
    case 2: return Body<Model, 2, Derivatives>(block, x, gradient, hessian);
    case 3: return Body<Model, 3, Derivatives>(block, x, gradient, hessian);
    case 4: return Body<Model, 4, Derivatives>(block, x, gradient, hessian);
    case 5: return Body<Model, 5, Derivatives>(block, x, gradient, hessian);
    case 6: return Body<Model, 6, Derivatives>(block, x, gradient, hessian);
    default: return Body<Model, 0, Derivatives>(block, x, gradient, hessian);
  }
}

template <bool Derivatives>
[[gnu::always_inline]] inline double Sums(const BlockCells& block, const double* x, double* gradient, double* hessian) {
  return block.model == BandModel::DiploidDominant
             ? ForK<BandModel::DiploidDominant, Derivatives>(block, x, gradient, hessian)
             : ForK<BandModel::Haploid, Derivatives>(block, x, gradient, hessian);
}

double ValuePlain(const BlockCells& block, const double* x) { return Sums<false>(block, x, nullptr, nullptr); }
[[gnu::target("avx2")]] double ValueAvx2(const BlockCells& block, const double* x) {
  return Sums<false>(block, x, nullptr, nullptr);
}
double DerivativesPlain(const BlockCells& block, const double* x, double* gradient, double* hessian) {
  return Sums<true>(block, x, gradient, hessian);
}
[[gnu::target("avx2")]] double DerivativesAvx2(const BlockCells& block, const double* x, double* gradient,
                                               double* hessian) {
  return Sums<true>(block, x, gradient, hessian);
}

using ValueBody = double (*)(const BlockCells&, const double*);
using DerivativesBody = double (*)(const BlockCells&, const double*, double*, double*);
// No AVX-512 body: four lanes of doubles fill an AVX2 register, and the kernel never runs that path.
constexpr KernelBuilds<ValueBody> kValues{Kernel::AdmixtureBlockSums, ValuePlain, ValueAvx2, ValueAvx2};
constexpr KernelBuilds<DerivativesBody> kDerivatives{Kernel::AdmixtureBlockSums, DerivativesPlain, DerivativesAvx2,
                                                     DerivativesAvx2};

}  // namespace

double BlockValue(KernelPath path, const BlockCells& block, const double* x) { return kValues.For(path)(block, x); }
double BlockValue(const BlockCells& block, const double* x) { return kValues.Chosen()(block, x); }

double BlockDerivatives(KernelPath path, const BlockCells& block, const double* x, double* gradient,
                        double* hessian) {
  return kDerivatives.For(path)(block, x, gradient, hessian);
}
double BlockDerivatives(const BlockCells& block, const double* x, double* gradient, double* hessian) {
  return kDerivatives.Chosen()(block, x, gradient, hessian);
}

}  // namespace vorn
