#include "commands/dialogs/ttest_dialog.h"

#include "core/number_format.h"
#include "core/number_input.h"
#include "groups/group_model.h"

namespace vorn {
namespace {

constexpr const char* kTests = "Test the following";

}  // namespace

TtTstDlg::TtTstDlg() : ModalDialog("T-testing") {
  form.Add(TickListControl("groups", "Groups to test"));
  form.Add(CheckBoxControl("bowman", "Shannon (Bowman Variance)", kTests));
  form.Add(CheckBoxControl("bootstrap", "Shannon (Bootstrapped Variance)", kTests));
  form.Add(CheckBoxControl("output_tdf", "Output t(df) values", kTests));
  form.Add(CheckBoxControl("output_shannon", "Output Shannon", kTests));
  form.Add(RadioGroupControl("confidence", "Confidence Output",
                             {"Significance at p-value               %", "Calculated p-value"},
                             {"significance", "p_value"}));
  Control& alpha = form.Add(TextFieldControl("alpha", ""));  // follows "Significance at p-value"
  alpha.besideKey = "confidence";
  alpha.besideItem = static_cast<int>(ConfidenceOutput::Significance);
  Fill({}, true, TTestSettings());
}

void TtTstDlg::Fill(const GroupList& groups, bool showFullPath, const TTestSettings& settings) {
  Control& list = form["groups"];
  list.items = DisplayNames(groups, showFullPath);
  list.marks.clear();
  for (const GroupEntry& group : groups) list.marks.push_back(group.testSelected);
  form["bowman"].checked = settings.bowmanVariance;
  form["bootstrap"].checked = settings.bootstrappedVariance;
  form["output_tdf"].checked = settings.outputTdf;
  form["output_shannon"].checked = settings.outputShannon;
  form["confidence"].selected = static_cast<int>(settings.confidenceOutput);
  form["alpha"].text = FormatReal(100 * settings.alpha);
}

bool TtTstDlg::Execute(Session& session, GroupList& groups, bool showFullPath, TTestSettings& settings) {
  Fill(groups, showFullPath, settings);
  if (!ShowModal(session.host)) return false;
  const std::vector<bool>& marks = form["groups"].marks;
  for (std::size_t i = 0; i < groups.size() && i < marks.size(); ++i) groups[i].testSelected = marks[i];
  settings.confidenceOutput = static_cast<ConfidenceOutput>(form["confidence"].selected);
  if (settings.confidenceOutput == ConfidenceOutput::Significance) {
    const auto percent = ParseReal(form["alpha"].text);
    if (!percent) {
      session.ErrorBox("You did not enter a valid number. Try again.");
      return false;
    }
    if (*percent < 0 || *percent > 100) {
      session.ErrorBox("Expecting a percentage (0-100). Try again.");
      return false;
    }
    settings.alpha = *percent / 100;
  }
  settings.bowmanVariance = form["bowman"].checked;
  settings.bootstrappedVariance = form["bootstrap"].checked;
  settings.outputTdf = form["output_tdf"].checked;
  settings.outputShannon = form["output_shannon"].checked;
  return true;
}

}  // namespace vorn
