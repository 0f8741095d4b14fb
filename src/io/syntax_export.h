// The SynTax export: the main file (loci as rows, individuals as columns, codes 1, 0, -1) and two
// label files named by inserting "_indivlabels" and "_rowlabels" into the chosen file name.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

// The names of the two label files for the main file path.
std::string SyntaxIndividualLabelFile(const std::string& path);
std::string SyntaxLocusLabelFile(const std::string& path);

// Refuses (before any file is written) a cell without a score and data without individual or
// locus labels; then writes the three files anew.
Status WriteSyntax(const std::string& path, const DataMatrix& matrix);

}  // namespace vorn
