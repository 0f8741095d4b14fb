// The result of the last principal coordinate analysis, kept for the pictures that show it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/label_table.h"

namespace vorn {

struct Ordination {
  std::vector<Real> eigenvalues;  // the positive ones, largest first
  std::vector<Real> percentages;  // of their sum, one per eigenvalue
  // Individual i on axis k at i * eigenvalues.size() + k, for every positive axis.
  std::vector<Real> coordinates;
  LabelTable labels;       // the individuals, as the analysis saw them
  std::string matrixName;  // the similarity matrix it ordinated ("StdJaccard")
  std::uint64_t dataFingerprint = 0;  // of the working data it was computed from

  std::size_t AxisCount() const { return eigenvalues.size(); }
  Real Coordinate(std::size_t individual, std::size_t axis) const {
    return coordinates[individual * eigenvalues.size() + axis];
  }
};

}  // namespace vorn
