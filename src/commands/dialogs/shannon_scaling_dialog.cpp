#include "commands/dialogs/shannon_scaling_dialog.h"

#include <cmath>

#include "core/number_format.h"
#include "core/number_input.h"

namespace vorn {

TShScaleDlg::TShScaleDlg() : ModalDialog("Shannon's index scaling preferences") {
  form.Add(RadioGroupControl("frequencies", "Frquencies p(i) are band presences in locus...",
                             {"relative to all presences", "divided by number of individuals"},
                             {"relative", "per_individual"}));
  form.Add(RadioGroupControl("log_base", "Shannon's index is calculated with logarithm to base... ",
                             {"2 (i.e., log2 x = ld x).", "e (i.e., loge x = ln x).", "10 (i.e., log10 x = lg x).",
                              "other (i.e., logA x). A ="},
                             {"2", "e", "10", "other"}));
  Control& a = form.Add(TextFieldControl("a", ""));
  a.besideKey = "log_base";
  a.besideItem = static_cast<int>(LogBase::Other);
  Fill(ShannonScaling());
}

void TShScaleDlg::Fill(const ShannonScaling& scaling) {
  form["frequencies"].selected = static_cast<int>(scaling.frequencyBasis);
  form["log_base"].selected = static_cast<int>(scaling.logBase);
  form["a"].text = FormatReal(scaling.baseValue);
}

bool TShScaleDlg::Execute(Session& session, ShannonScaling& scaling) {
  Fill(scaling);
  ShowModal(session.host);  // Cancel applies the values shown as well

  scaling.frequencyBasis = static_cast<FrequencyBasis>(form["frequencies"].selected);
  scaling.logBase = static_cast<LogBase>(form["log_base"].selected);
  switch (scaling.logBase) {
    case LogBase::Two: scaling.baseValue = 2.0L; return true;
    case LogBase::E: scaling.baseValue = std::exp(1.0L); return true;
    case LogBase::Ten: scaling.baseValue = 10.0L; return true;
    case LogBase::Other: break;
  }
  const auto a = ParseReal(form["a"].text);
  if (!a) {
    session.MessageQuery("You entered an invalid number.", "Error", MessageButtons::Ok);
    return false;
  }
  if (!(*a > 0)) {
    session.MessageQuery("A must be greater than zero.", "Error", MessageButtons::Ok);
    return false;
  }
  scaling.baseValue = *a;
  return true;
}

}  // namespace vorn
