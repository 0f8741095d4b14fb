#include "networks/factor_kernels.h"

#include <cstring>

// The lane helpers are always inlined, so no call passes their vectors: the ABI note on
// returning a vector without AVX concerns calls that never happen.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vorn {
namespace {

constexpr std::size_t kLanes = 4;
typedef double Lanes __attribute__((vector_size(sizeof(double) * kLanes), aligned(sizeof(double))));

[[gnu::always_inline]] inline Lanes Load(const double* at) {
  Lanes x;
  std::memcpy(&x, at, sizeof x);
  return x;
}
[[gnu::always_inline]] inline void Store(double* at, const Lanes& x) { std::memcpy(at, &x, sizeof x); }

[[gnu::always_inline]] inline double Dot(const double* u, const double* v, std::size_t count) {
  Lanes sum{};
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes) sum += Load(u + k) * Load(v + k);
  double total = (sum[0] + sum[1]) + (sum[2] + sum[3]);
  for (; k < count; ++k) total += u[k] * v[k];
  return total;
}

[[gnu::always_inline]] inline void SubtractColumns(double* y, const double* a, const double* const* columns,
                                                   std::size_t width, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes) {
    Lanes v = Load(y + k);
    for (std::size_t b = 0; b < width; ++b) v -= a[b] * Load(columns[b] + k);
    Store(y + k, v);
  }
  for (; k < count; ++k) {
    for (std::size_t b = 0; b < width; ++b) y[k] -= a[b] * columns[b][k];
  }
}

[[gnu::always_inline]] inline void Rotate(double* column, double* x, double cosine, double sine,
                                          double inverseCosine, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes) {
    const Lanes xs = Load(x + k);
    const Lanes c = (Load(column + k) + sine * xs) * inverseCosine;
    Store(column + k, c);
    Store(x + k, cosine * xs - sine * c);
  }
  for (; k < count; ++k) {
    column[k] = (column[k] + sine * x[k]) * inverseCosine;
    x[k] = cosine * x[k] - sine * column[k];
  }
}

double DotPlain(const double* u, const double* v, std::size_t count) { return Dot(u, v, count); }
[[gnu::target("avx2")]] double DotAvx2(const double* u, const double* v, std::size_t count) { return Dot(u, v, count); }
void SubtractColumnsPlain(double* y, const double* a, const double* const* columns, std::size_t width,
                         std::size_t count) {
  SubtractColumns(y, a, columns, width, count);
}
[[gnu::target("avx2")]] void SubtractColumnsAvx2(double* y, const double* a, const double* const* columns,
                                                 std::size_t width, std::size_t count) {
  SubtractColumns(y, a, columns, width, count);
}
void RotatePlain(double* column, double* x, double cosine, double sine, double inverseCosine, std::size_t count) {
  Rotate(column, x, cosine, sine, inverseCosine, count);
}
[[gnu::target("avx2")]] void RotateAvx2(double* column, double* x, double cosine, double sine, double inverseCosine,
                                        std::size_t count) {
  Rotate(column, x, cosine, sine, inverseCosine, count);
}

using DotBody = double (*)(const double*, const double*, std::size_t);
using SubtractColumnsBody = void (*)(double*, const double*, const double* const*, std::size_t, std::size_t);
using RotateBody = void (*)(double*, double*, double, double, double, std::size_t);
constexpr KernelBuilds<DotBody> kDots{Kernel::SplitFactor, DotPlain, DotAvx2, DotAvx2};
constexpr KernelBuilds<SubtractColumnsBody> kSubtractColumns{Kernel::SplitFactor, SubtractColumnsPlain,
                                                             SubtractColumnsAvx2, SubtractColumnsAvx2};
constexpr KernelBuilds<RotateBody> kRotates{Kernel::SplitFactor, RotatePlain, RotateAvx2, RotateAvx2};

}  // namespace

double FactorDot(const double* u, const double* v, std::size_t count) { return kDots.Chosen()(u, v, count); }
double FactorDot(KernelPath path, const double* u, const double* v, std::size_t count) {
  return kDots.For(path)(u, v, count);
}
void FactorSubtractColumns(double* y, const double* a, const double* const* columns, std::size_t width,
                           std::size_t count) {
  kSubtractColumns.Chosen()(y, a, columns, width, count);
}
void FactorSubtractColumns(KernelPath path, double* y, const double* a, const double* const* columns,
                           std::size_t width, std::size_t count) {
  kSubtractColumns.For(path)(y, a, columns, width, count);
}
void FactorRotate(double* column, double* x, double cosine, double sine, double inverseCosine, std::size_t count) {
  kRotates.Chosen()(column, x, cosine, sine, inverseCosine, count);
}
void FactorRotate(KernelPath path, double* column, double* x, double cosine, double sine, double inverseCosine,
                  std::size_t count) {
  kRotates.For(path)(column, x, cosine, sine, inverseCosine, count);
}

}  // namespace vorn
