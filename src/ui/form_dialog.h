// FormDialog: a settings dialog rendered from its DialogForm, the one way every settings dialog
// of the program reaches the screen. The widgets start from the form's state; Store() writes the
// user's edits back (the host calls it whichever button closed the dialog, since some dialogs
// take their values on Cancel too). OK is the default button; Esc and Cancel reject. A field that
// names a file has a "Browse…" button after it, which opens the host's file dialog on the name
// the field holds and puts the name chosen there. Tab visits the controls in list order (a field
// set beside an item right after the item's group), each Browse… after its field, then OK and
// Cancel.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/dialog_form.h"
#include "core/host.h"
#include "ui/form_layout.h"

namespace vorn::ui {

// Shows the host's open-file (save false) or save-file dialog over parent: the name chosen,
// nothing on Cancel.
using FileChooser =
    std::function<std::optional<std::string>(const FileDialogOptions& options, bool save, QWidget* parent)>;

class FormDialog : public QDialog {
 public:
  // Widgets are found by object name: a control's key, "key.N" for the N-th radio item (from 0),
  // "key.caption" and "key.suffix" for the texts around a field, "key.browse" for its Browse…
  // button, "frame.CAPTION" for a frame. Without a chooser path fields have no button.
  explicit FormDialog(DialogForm& form, QWidget* parent = nullptr, FileChooser chooser = {});

  void Store();

 private:
  ControlWidgets MakeWidgets(Control& control);
  void ApplyVisibility();
  // Connects every editor to Edited when the form asks to hear of edits as they happen.
  void WatchEdits();
  // Stores the edits, lets the form answer them, and shows the labels' new captions.
  void Edited();
  // Browse… of a path field: the chosen name into the field.
  void Browse(const ControlWidgets& widgets);
  // The focus goes through the controls in list order, each with what sits beside it.
  void SetTabOrder(QWidget* ok, QWidget* cancel);

  DialogForm& form_;
  FileChooser chooser_;
  std::vector<ControlWidgets> widgets_;
};

}  // namespace vorn::ui
