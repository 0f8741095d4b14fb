// Plain lists of labels, one per line: the list of OTUs, and the SynTax label files (which start
// with the number of labels).
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/text_file.h"

namespace vorn {

inline constexpr const char* kNoOtuNames = "No individual names. Could not export OTU list";

// Writes the labels, one per line, after their number when counted.
void WriteLabelLines(TextFileWriter& file, const LabelTable& labels, bool counted);

// Refuses data without individual labels; then writes the file anew.
Status WriteOtuList(const std::string& path, const DataMatrix& matrix);

}  // namespace vorn
