#include "commands/dialogs/removal_dialogs.h"

#include "commands/dialogs/percent_field.h"
#include "core/number_format.h"
#include "core/number_input.h"

namespace vorn {

bool PercentThresholdDialog::Execute(Session& session, double& threshold) {
  form["percent"].text = FieldText(threshold);
  for (;;) {
    if (!ShowModal(session.host)) return false;
    const auto fraction = ParsePercentAsFraction(form["percent"].text);
    if (fraction && *fraction <= 1.0) {
      threshold = *fraction;
      return true;
    }
    session.ErrorBox(kInvalidInput);
  }
}

TDataRemDlg::TDataRemDlg() : PercentThresholdDialog("Data removal...") {
  form.Add(LabelControl("text", "Remove data with more than x% missing data:"));
  form.Add(TextFieldControl("percent", "", 2, true)).suffix.assign(1, '%');
  form["percent"].text = WholePercentText(RemovalThresholds().individualMissing);
}

std::string TDataRemDlg::FieldText(double threshold) const { return WholePercentText(threshold); }

TDRemFDlg::TDRemFDlg() : PercentThresholdDialog("Data removal") {
  form.Add(LabelControl("text", "Remove data at a threshold value of..."));
  form.Add(TextFieldControl("percent", "")).suffix.assign(1, '%');
  form["percent"].text = FormatFixed(100.0L * RemovalThresholds().locusFrequencyBelow, 2, 4);
}

std::string TDRemFDlg::FieldText(double threshold) const { return FormatFixed(100.0L * threshold, 2, 4); }

}  // namespace vorn
