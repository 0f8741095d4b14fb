// The vector loops of the Cholesky factor of the free splits (free_split_factor.h): a dot
// product, y -= the sum of a few columns a, and the plane rotation that folds a vector back into a column. The plain
// and the AVX2 bodies run the same four lanes of doubles in the same order, so that they give the
// same bits; the AVX-512 path runs the AVX2 body (four lanes fill its register).
#pragma once

#include <cstddef>

#include "core/kernel_paths.h"

namespace vorn {

// The sum of u[k] v[k] over k < count: four lane sums, added as (0 + 1) + (2 + 3), then the rest.
double FactorDot(const double* u, const double* v, std::size_t count);
double FactorDot(KernelPath path, const double* u, const double* v, std::size_t count);

// y[k] -= a[0] columns[0][k], then a[1] columns[1][k], ... a[width - 1] columns[width - 1][k],
// for k < count: the bits of width passes of y[k] -= a columns[k], in one pass over y.
void FactorSubtractColumns(double* y, const double* a, const double* const* columns, std::size_t width,
                           std::size_t count);
void FactorSubtractColumns(KernelPath path, double* y, const double* a, const double* const* columns,
                           std::size_t width, std::size_t count);

// For k < count: column[k] = (column[k] + sine x[k]) * inverseCosine, then
// x[k] = cosine x[k] - sine column[k] with the new column[k].
void FactorRotate(double* column, double* x, double cosine, double sine, double inverseCosine, std::size_t count);
void FactorRotate(KernelPath path, double* column, double* x, double cosine, double sine, double inverseCosine,
                  std::size_t count);

}  // namespace vorn
