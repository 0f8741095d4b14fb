// Reading a band matrix from a text file whose layout and symbols the user chose: individuals
// in rows or columns, optional name header and name column, scores delimited by white space or
// written together, remarks between the remark characters, and an end-of-data line after which
// other blocks may follow.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

// Reads the file in two passes (shape and names, then scores) into a new matrix in the
// locus-major layout, with default labels where the file has none. The failure's message is
// the one to show; the caller's data are untouched either way.
Result<DataMatrix> ReadDataFile(const std::string& path, const FileLayout& layout);

// Refuses a matrix without scores, with more than 65535 individuals or loci, or with more cells
// than a signed 32-bit count holds.
Status CheckMatrixSize(std::size_t individuals, std::size_t loci);

}  // namespace vorn
