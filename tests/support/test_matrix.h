// Matrices for tests: written out one individual per string ('1', '0', '?'; any other character
// is stored as that raw code, to provoke data errors), or drawn at random with missing scores.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "core/data_matrix.h"

namespace vorn::testing {

// rows[i][l] is the score of individual i at locus l. Labels "i1".., "l1".. unless unlabelled.
inline DataMatrix MatrixFromRows(const std::vector<std::string>& rows, bool labelled = true) {
  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(rows.size());
  matrix.locusCount = static_cast<std::uint16_t>(rows.empty() ? 0 : rows[0].size());
  matrix.cells.resize(matrix.CellCount());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t l = 0; l < rows[i].size(); ++l) {
      const char c = rows[i][l];
      Cell cell = static_cast<Cell>(c);
      if (c == '1') cell = Presence;
      if (c == '0') cell = Absence;
      if (c == '?') cell = Missing;
      matrix.cells[matrix.Position(i, l)] = cell;
    }
  }
  if (labelled) {
    matrix.individualLabels = MakeNumberedLabels("i", matrix.individualCount);
    matrix.locusLabels = MakeNumberedLabels("l", matrix.locusCount);
  }
  return matrix;
}

// Scores drawn with the given shares of missing and present cells; labelled like MatrixFromRows.
inline DataMatrix RandomMatrix(std::size_t individuals, std::size_t loci, double missingShare, double presenceShare,
                               std::mt19937& engine) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(individuals);
  matrix.locusCount = static_cast<std::uint16_t>(loci);
  matrix.cells.resize(matrix.CellCount());
  for (Cell& cell : matrix.cells) {
    const double u = uniform(engine);
    cell = u < missingShare ? Cell{Missing} : u < missingShare + presenceShare ? Cell{Presence} : Cell{Absence};
  }
  matrix.individualLabels = MakeNumberedLabels("i", individuals);
  matrix.locusLabels = MakeNumberedLabels("l", loci);
  return matrix;
}

}  // namespace vorn::testing
