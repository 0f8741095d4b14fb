#include "commands/dialogs/missing_data_dialog.h"

#include "commands/dialogs/percent_field.h"
#include "core/number_input.h"
#include "core/settings.h"

namespace vorn {
namespace {

enum Choice { AllAbsences = 0, AllPresences = 1, Percentage = 2 };

}  // namespace

TMDR_Dlg::TMDR_Dlg() : ModalDialog("Missing Data Replacement...") {
  form.Add(RadioGroupControl("replace", "",
                             {"Replace all missing data with absences", "Replace all missing data with presences",
                              "Missing data which will be replaced by presences:"},
                             {"absences", "presences", "percent"}));
  Control& field = form.Add(TextFieldControl("percent", "", 2, true));
  field.suffix.assign(1, '%');
  field.besideKey = "replace";
  field.besideItem = Percentage;
  Fill(Settings().missingDataReplacement);
}

void TMDR_Dlg::Fill(double q) {
  form["percent"].text = WholePercentText(q);
  form["replace"].selected = q == 0.0 ? AllAbsences : q == 1.0 ? AllPresences : Percentage;
}

bool TMDR_Dlg::Execute(Session& session, double& q) {
  Fill(q);
  for (;;) {
    if (!ShowModal(session.host)) return false;
    switch (form["replace"].selected) {
      case AllAbsences: q = 0.0; return true;
      case AllPresences: q = 1.0; return true;
      default: break;
    }
    const auto fraction = ParsePercentAsFraction(form["percent"].text);
    if (fraction && *fraction >= 0.0 && *fraction <= 1.0) {
      q = *fraction;
      return true;
    }
    session.ErrorBox(kInvalidInput);
  }
}

}  // namespace vorn
