// A host-independent description of a modal settings dialog: its caption and its controls,
// each with a stable key, a caption, layout hints and its current state. A host renders the
// form, lets the user change the state, and reports OK or Cancel; the dialog class that owns
// the form reads the state back. Controls are shown in list order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

enum class ControlKind {
  Label,       // static text (caption)
  RadioGroup,  // items; `selected` is the chosen item
  CheckBox,    // `checked`
  CharField,   // one character in `text`
  TextField,   // free text in `text`; maxLength > 0 limits it; digitsOnly accepts 0-9 only
  TickList,    // items with `marks` (ticked)
  MultiList,   // items with `marks` (selected)
  DropDown,    // items; `selected` is the chosen item
};

// A text field that names a file: one to read (Open) or one the command writes (Save). A host
// may offer its file dialog beside such a field.
enum class PathKind { None, Open, Save };

struct Control {
  ControlKind kind = ControlKind::Label;
  std::string key;      // stable name for scripts and tests
  std::string caption;  // with "&" before an accelerator letter where it has one
  std::string frame;    // caption of the frame the control sits in; "" for none
  std::string suffix;   // text shown right after a field ("%", "digits")
  std::vector<std::string> items;     // item captions of radio groups, lists and drop-downs
  std::vector<std::string> itemKeys;  // radio groups: the values scripts use for the items
  std::string besideKey;              // a field shown next to an item of this radio group,
  int besideItem = -1;                // or next to this check box (besideItem unused)
  int maxLength = 0;
  bool digitsOnly = false;
  bool visible = true;
  bool fixedPitch = false;  // a label whose lines line up in columns (a preview)
  PathKind path = PathKind::None;  // a text field that names a file
  std::string pathFilter;          // its file dialog's filter, "Text Files (*.txt)|*.txt|..."; "" all files

  bool checked = false;
  int selected = 0;
  std::string text;
  std::vector<bool> marks;
};

class DialogForm {
 public:
  explicit DialogForm(std::string caption) : caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }

  Control& Add(Control control);
  Control& operator[](std::string_view key);
  const Control& operator[](std::string_view key) const;
  Control* Find(std::string_view key);

  // Called by a host that shows edits as they happen, after it stored them in the form; it may
  // change the captions of labels, which the host then shows anew (a preview of what OK does).
  std::function<void(DialogForm&)> edited;

  std::vector<Control>& Controls() { return controls_; }
  const std::vector<Control>& Controls() const { return controls_; }

 private:
  std::string caption_;
  std::vector<Control> controls_;
};

// A label caption that shows text as it stands: each "&" doubled, since a single one marks an
// accelerator letter.
std::string LiteralCaption(std::string_view text);

// Builders for the common controls, so that dialog classes read like their layout.
Control LabelControl(std::string key, std::string caption, std::string frame = {});
Control RadioGroupControl(std::string key, std::string caption, std::vector<std::string> items,
                          std::vector<std::string> itemKeys);
Control CheckBoxControl(std::string key, std::string caption, std::string frame = {});
Control CharFieldControl(std::string key, std::string caption, std::string frame = {});
Control TextFieldControl(std::string key, std::string caption, int maxLength = 0, bool digitsOnly = false);
// A text field naming a file of kind Open or Save.
Control PathFieldControl(std::string key, std::string caption, PathKind kind, std::string filter = {});
Control TickListControl(std::string key, std::string caption);
Control MultiListControl(std::string key, std::string caption);
Control DropDownControl(std::string key, std::string caption);

}  // namespace vorn
