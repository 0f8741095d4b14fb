// FormDialog: a settings dialog rendered from its DialogForm, the one way every settings dialog
// of the program reaches the screen. The widgets start from the form's state; Store() writes the
// user's edits back (the host calls it whichever button closed the dialog, since some dialogs
// take their values on Cancel too). OK is the default button; Esc and Cancel reject.
#pragma once

#include <QDialog>
#include <vector>

#include "core/dialog_form.h"
#include "ui/form_layout.h"

namespace vorn::ui {

class FormDialog : public QDialog {
 public:
  // Widgets are found by object name: a control's key, "key.N" for the N-th radio item (from 0),
  // "key.caption" and "key.suffix" for the texts around a field, "frame.CAPTION" for a frame.
  explicit FormDialog(DialogForm& form, QWidget* parent = nullptr);

  void Store();

 private:
  ControlWidgets MakeWidgets(Control& control);
  void ApplyVisibility();
  // Connects every editor to Edited when the form asks to hear of edits as they happen.
  void WatchEdits();
  // Stores the edits, lets the form answer them, and shows the labels' new captions.
  void Edited();

  DialogForm& form_;
  std::vector<ControlWidgets> widgets_;
};

}  // namespace vorn::ui
