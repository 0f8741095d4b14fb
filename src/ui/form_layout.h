// Arranging the widgets of a rendered DialogForm: frames and radio groups become boxes (small
// ones two side by side), fields sit in aligned rows of caption, field and suffix, and a field
// named beside a radio item or a check box sits on that item's row; a field's Browse… button
// follows it. Controls keep list order.
#pragma once

#include <QLayout>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorn {
struct Control;
}

namespace vorn::ui {

// The widgets made for one control of a form.
struct ControlWidgets {
  Control* control = nullptr;
  QLabel* caption = nullptr;    // the caption of a field, drop-down or list
  QWidget* editor = nullptr;    // the control itself; for a radio group the box of its buttons
  QLabel* suffix = nullptr;     // the text after a field ("%")
  QPushButton* browse = nullptr;  // "Browse…" after a field that names a file
  std::vector<QRadioButton*> radios;
  QButtonGroup* radioGroup = nullptr;
};

// Builds the dialog's layout of all controls (the buttons are not part of it).
QLayout* ArrangeControls(std::vector<ControlWidgets>& controls);

}  // namespace vorn::ui
