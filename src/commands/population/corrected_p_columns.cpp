#include "commands/population/corrected_p_columns.h"

#include <cmath>

#include "core/number_format.h"
#include "distributions/corrected_p.h"

namespace vorn {

std::string PValueText(Real p) { return std::isnan(p) ? std::string("-") : FormatReal(p); }

std::string AppendCorrectedPColumns(ResultTable& table, const std::vector<Real>& p) {
  const std::vector<Real> holm = HolmCorrected(p), bh = BenjaminiHochbergCorrected(p);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    std::vector<std::string>& row = table.rows[r];
    if (r == 0) {
      row.push_back("p (Holm)");
      row.push_back("p (BH)");
    } else if (r - 1 < p.size()) {
      row.push_back(PValueText(holm[r - 1]));
      row.push_back(PValueText(bh[r - 1]));
    } else {
      row.push_back("");
      row.push_back("");
    }
  }
  const std::size_t m = FamilySize(p);
  return "Corrected p: Holm's step-down and Benjamini-Hochberg's false discovery rate, over a family of " +
         std::to_string(m) + (m == 1 ? " test." : " tests.");
}

ResultTable CorrectedPTable(const std::string& testHeader, const std::vector<std::string>& names,
                            const std::vector<Real>& p) {
  ResultTable table;
  table.rows.push_back({testHeader, "p"});
  for (std::size_t k = 0; k < names.size() && k < p.size(); ++k) table.rows.push_back({names[k], PValueText(p[k])});
  return table;
}

}  // namespace vorn
