// Writing the band matrix as a text table that the data file reader reads back in the same
// layout: individuals in rows or columns, optional names, scores delimited by one space or
// written together, a "-" before each missing score when AmbiguityNegative is on (delimited
// files only), and the EndOfData character alone on the last line. Lines end in CR LF.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

// Refuses a layout whose files could not be read back: score symbols that coincide, or that
// equal the OpenRemark or EndOfData character, and "-" as a symbol while AmbiguityNegative
// puts it before missing scores.
Status CheckWritableLayout(const FileLayout& layout);

// Writes matrix to path, replacing the file. Refuses before anything is written when the layout
// cannot be read back, when a written name holds the OpenRemark or EndOfData character, or when
// a cell holds a value other than the three scores.
Status WriteDataFile(const std::string& path, const DataMatrix& matrix, const FileLayout& layout);

}  // namespace vorn
