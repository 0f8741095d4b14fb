// The two dialogs of the removal filters. TDataRemDlg ("Data removal...") asks a missing-data
// threshold in whole percent (two digits at most); TDRemFDlg ("Data removal") a band-frequency
// threshold as free text, shown with two decimals. Both open with the command's stored threshold
// and store a new one only when the field reads as a number whose fraction is at most 1; any
// other input gets "Invalid input. Please repeat." and the dialog again, and Cancel keeps the
// stored threshold.
#pragma once

#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

class PercentThresholdDialog : public ModalDialog {
 public:
  // Shows threshold until the user gives a valid one (stored; true) or cancels (false).
  bool Execute(Session& session, double& threshold);

 protected:
  using ModalDialog::ModalDialog;
  // The field's text for a stored threshold.
  virtual std::string FieldText(double threshold) const = 0;
};

class TDataRemDlg : public PercentThresholdDialog {
 public:
  TDataRemDlg();

 protected:
  // The integer part of the percentage.
  std::string FieldText(double threshold) const override;
};

class TDRemFDlg : public PercentThresholdDialog {
 public:
  TDRemFDlg();

  // The line above the field, set by each command ("Remove loci with a band frequency less than").
  void SetText(std::string text) { form["text"].caption = std::move(text); }

 protected:
  // The percentage with two decimals ("5.00").
  std::string FieldText(double threshold) const override;
};

}  // namespace vorn
