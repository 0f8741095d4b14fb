// The corrected p-values beside a table of many p-values: a "p (Holm)" and a "p (BH)" column
// after the table's columns, and the line naming the family the corrections were made over. A
// p that is not a number (a test that could not be made) has "-" in both columns and stays out
// of the family. The uncorrected values are left where they are.
#pragma once

#include <string>
#include <vector>

#include "core/result_table.h"
#include "core/conventions.h"

namespace vorn {

// Appends the two columns to table, whose rows after the header go with p in order, and returns
// the family line ("Corrected p: Holm's step-down and Benjamini-Hochberg's false discovery rate,
// over a family of 3 tests."). Rows beyond p, if any, get empty cells.
std::string AppendCorrectedPColumns(ResultTable& table, const std::vector<Real>& p);

// A table of the named tests ("Pair", "p", "p (Holm)", "p (BH)") for results whose p-values are
// not already in rows of their own, such as a matrix of pairs; names and p go together.
ResultTable CorrectedPTable(const std::string& testHeader, const std::vector<std::string>& names,
                            const std::vector<Real>& p);

// The text of a p-value in these tables: "-" for one that is not a number.
std::string PValueText(Real p);

}  // namespace vorn
