// The NTSYSpc export: a rectangular matrix (type 1) with the loci as its labelled rows and the
// individuals as its labelled columns, missing scores coded -9.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

// Refuses (before anything is written) a cell without a score; then writes the file anew.
Status WriteNtsys(const std::string& path, const DataMatrix& matrix);

}  // namespace vorn
