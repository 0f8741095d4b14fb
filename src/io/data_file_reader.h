// Reading a band matrix from a text file whose layout and symbols the user chose: individuals
// in rows or columns, optional name header and name column, scores delimited by white space or
// written together, remarks between the remark characters, and an end-of-data line after which
// other blocks may follow.
#pragma once

#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

// A label that names given as different texts became once cut (two names longer than 20
// characters that agree in their first 20, say), and how many of the given names it stands for.
struct MergedLabel {
  std::string label;
  std::size_t names = 0;
  bool operator==(const MergedLabel&) const = default;
};

// The labels that several different given names became, in order of their first name.
std::vector<MergedLabel> LabelsMergedByCut(const std::vector<std::string>& names);

// The labels that different names of a file became once cut to 20 characters: individuals or
// loci that no group, tree or export can tell apart any more.
struct MergedNames {
  std::vector<MergedLabel> individuals;
  std::vector<MergedLabel> loci;
};

// Reads the file in two passes (shape and names, then scores) into a new matrix in the
// locus-major layout, with default labels where the file has none. The failure's message is
// the one to show; the caller's data are untouched either way. merged, when given, receives
// the names that became equal once cut.
Result<DataMatrix> ReadDataFile(const std::string& path, const FileLayout& layout, MergedNames* merged = nullptr);

// The warning about merged names, naming the first five labels of each kind and counting the
// names; "" when no names merged.
std::string MergedNamesNotice(const MergedNames& merged);

// Refuses a matrix without scores, with more than 65535 individuals or loci, or with more cells
// than a signed 32-bit count holds.
Status CheckMatrixSize(std::size_t individuals, std::size_t loci);

}  // namespace vorn
