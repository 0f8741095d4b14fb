// The hindex export: the "_indiv" file with the scores of the tested individuals (codes 1, 0, NA)
// and the "_parents" file with the band frequency of every locus in each parental group.
#pragma once

#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

std::string HindexIndividualFile(const std::string& path);
std::string HindexParentFile(const std::string& path);

struct HindexData {
  const DataMatrix* tested = nullptr;
  std::string testedName;
  std::string parent1Name;
  std::string parent2Name;
  std::vector<Real> parent1;  // one frequency per locus of tested
  std::vector<Real> parent2;
};

// Refuses (before any file is written) a tested cell without a score; then writes both files anew.
Status WriteHindex(const std::string& path, const HindexData& data);

}  // namespace vorn
