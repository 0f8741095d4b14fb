// The text form of a similarity or distance matrix in the analysis file: a title, an empty line,
// the labels in 13-character cells, one line per row of the lower triangle (entries with 10
// decimals, each followed by a space) and an empty line.
#pragma once

#include <string>
#include <string_view>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result_table.h"
#include "core/settings.h"
#include "core/text_file.h"

namespace vorn {

// Appends one entry: fixed notation with 10 decimals in at least 11 characters. An entry
// without a value is written "NaN" (and an infinite one "Inf" or "-Inf"), right-aligned in the
// same 11 characters, as spreadsheets and statistics programs read them.
void AppendMatrixEntry(std::string& text, Real x);

// Writes the matrix under title; the label line is left out when labels is empty. A label of
// up to 12 characters is padded to 13, a longer one cut to 12 and followed by one space.
void WriteMatrixText(TextFileWriter& file, const DistanceMatrix& matrix, std::string_view title,
                     const LabelTable& labels);

// The entries of row i (columns 0 to i) as the file writes them, each followed by a space.
std::string MatrixRowText(const DistanceMatrix& matrix, std::size_t i);

// The matrix as a table, for the report: a header of the labels, then per individual its label
// and its row's entries as MatrixRowText writes them, the cells above the diagonal empty. The
// labels are whole (the file cuts them), numbers from 1 when labels is empty.
ResultTable MatrixTable(const DistanceMatrix& matrix, const LabelTable& labels);

// The title of the distance form of a matrix titled title:
// "Distances d=1-s (Standard Jaccard coefficients)".
std::string DistanceTitle(DistanceTransformation transformation, std::string_view title);

}  // namespace vorn
