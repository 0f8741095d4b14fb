#include "commands/dialogs/coefficient_dialog.h"

#include <limits>
#include <optional>

#include "core/number_format.h"
#include "core/number_input.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

constexpr int kCoefficientCount = 6;
constexpr int kTransformationChoices = 3;
constexpr int kNeiLiItem = static_cast<int>(SimilarityCoefficient::NeiLi);

// The coefficient as the report line names it: the short name, but "Sq.Euclidean".
std::string ReportName(SimilarityCoefficient coefficient) {
  return coefficient == SimilarityCoefficient::SqEuclidean ? "Sq.Euclidean" : CoefficientName(coefficient);
}

// r as typed: a number above 0. An r of 0 or below would make the exponent 1/(2r) of the Nei-Li
// distance undefined or negative. The check applies to r as it is stored: a typed value that is
// positive but rounds to 0 in a double (1e-400), or overflows it, is no valid r.
std::optional<double> ParseNeiLiR(const std::string& text) {
  const auto typed = ParseReal(text);
  if (!typed) return std::nullopt;
  const auto r = static_cast<double>(*typed);
  if (!(r > 0) || r > std::numeric_limits<double>::max()) return std::nullopt;
  return r;
}

}  // namespace

TSelCDlg::TSelCDlg() : ModalDialog("Select Similarity Coefficient") {
  form.Add(RadioGroupControl("coefficient", "(Dis)Similarity coefficient",
                             {"Jaccard", "Dice; S\xF8rensen", "SMC (Simple Matching Coefficient)", "Nei-Li* with r=",
                              "Euclidean*", "Squared Euclidean*"},
                             {"jaccard", "dice", "smc", "neili", "euclidean", "sqeuclidean"}));
  Control& r = form.Add(TextFieldControl("r", ""));  // follows the item "Nei-Li* with r="
  r.besideKey = "coefficient";
  r.besideItem = kNeiLiItem;
  form.Add(LabelControl("note", "*distance rather than similarity"));
  form.Add(CheckBoxControl("write_similarity", "Write similarity matrix to analysis file (where available)"));
  form.Add(CheckBoxControl("write_distance", "Write distance matrix to analysis file"));
  form.Add(RadioGroupControl("transformation", "Distance transformation",
                             {"d=1-s [* d'=d]", "d=SQRT(1-s) [* d'=SQRT(d)]", "d=(1-s)^2 [* d'=d^2]"},
                             {"plain", "sqrt", "squared"}));
  form.Add(RadioGroupControl("amova", "Similarity choice for AMOVA",
                             {"Standard similarity", "Minimum similarity", "Maximum similarity", "Average similarity"},
                             {"standard", "minimum", "maximum", "average"}));
  Fill(SimilaritySettings());
}

void TSelCDlg::Fill(const SimilaritySettings& settings) {
  form["coefficient"].selected = static_cast<int>(settings.coefficient);
  const int transformation = static_cast<int>(settings.transformation);
  form["transformation"].selected = IsDistance(settings.coefficient) ? transformation - 3 : transformation;
  form["amova"].selected = static_cast<int>(settings.amovaSimilarity);
  form["write_similarity"].checked = settings.writeSimilarityMatrix;
  form["write_distance"].checked = settings.writeDistanceMatrix;
  form["r"].text = FormatShortest(settings.neiLiR);
}

void TSelCDlg::Apply(Session& session, SimilaritySettings& settings) {
  const int coefficient = form["coefficient"].selected;
  if (coefficient >= 0 && coefficient < kCoefficientCount) {
    settings.coefficient = static_cast<SimilarityCoefficient>(coefficient);
  } else {
    session.ErrorBox("Unknown similarity coefficient");
  }
  settings.writeSimilarityMatrix = form["write_similarity"].checked;
  settings.writeDistanceMatrix = form["write_distance"].checked;
  if (settings.coefficient == SimilarityCoefficient::NeiLi) {
    if (const auto r = ParseNeiLiR(form["r"].text)) {
      settings.neiLiR = *r;
    } else {
      session.ErrorBox("Invalid input for NeiLi_R.");
    }
  }
  // The stored transformation always matches the kind of the coefficient set here.
  const int transformation = form["transformation"].selected;
  if (transformation >= 0 && transformation < kTransformationChoices) {
    settings.transformation =
        static_cast<DistanceTransformation>(transformation + (IsDistance(settings.coefficient) ? 3 : 0));
  } else {
    session.ErrorBox("Unknown distance transformation");
  }
  settings.amovaSimilarity = static_cast<SimilarityMode>(form["amova"].selected);
  session.Report(CoefficientReport(settings));
}

void TSelCDlg::Execute(Session& session, SimilaritySettings& settings) {
  Fill(settings);
  if (!ShowModal(session.host)) return;
  Apply(session, settings);
}

std::string CoefficientReport(const SimilaritySettings& settings) {
  std::string line = "Coefficient set to " + ReportName(settings.coefficient) +
                     (IsDistance(settings.coefficient) ? " (distance)." : " (similarity).");
  if (settings.coefficient == SimilarityCoefficient::NeiLi) line += " (With r=" + FormatShortest(settings.neiLiR) + ".)";
  line += " Dist Transform: " + TransformationName(settings.transformation) + ".";
  if (settings.writeSimilarityMatrix) line += " SimOutput on.";
  if (settings.writeDistanceMatrix) line += " DistOutput on.";
  // The preference is named as chosen, without the exchange of Minimum and Maximum that result
  // headers make for distances; a similarity coefficient gives exactly those names.
  line += " Pref: " + SimilarityModeName(settings.amovaSimilarity, SimilarityCoefficient::Jaccard, true) + ".";
  return line;
}

}  // namespace vorn
