#include "core/dialog_form.h"

#include <stdexcept>

namespace vorn {

Control& DialogForm::Add(Control control) {
  controls_.push_back(std::move(control));
  return controls_.back();
}

Control* DialogForm::Find(std::string_view key) {
  for (auto& control : controls_) {
    if (control.key == key) return &control;
  }
  return nullptr;
}

Control& DialogForm::operator[](std::string_view key) {
  if (Control* control = Find(key)) return *control;
  throw std::logic_error("dialog \"" + caption_ + "\" has no control \"" + std::string(key) + "\"");
}

const Control& DialogForm::operator[](std::string_view key) const {
  return const_cast<DialogForm&>(*this)[key];
}

std::string LiteralCaption(std::string_view text) {
  std::string escaped;
  for (char c : text) escaped += c == '&' ? std::string("&&") : std::string(1, c);
  return escaped;
}

namespace {

Control Make(ControlKind kind, std::string key, std::string caption, std::string frame = {}) {
  Control control;
  control.kind = kind;
  control.key = std::move(key);
  control.caption = std::move(caption);
  control.frame = std::move(frame);
  return control;
}

}  // namespace

Control LabelControl(std::string key, std::string caption, std::string frame) {
  return Make(ControlKind::Label, std::move(key), std::move(caption), std::move(frame));
}

Control RadioGroupControl(std::string key, std::string caption, std::vector<std::string> items,
                          std::vector<std::string> itemKeys) {
  Control control = Make(ControlKind::RadioGroup, std::move(key), std::move(caption));
  control.items = std::move(items);
  control.itemKeys = std::move(itemKeys);
  return control;
}

Control CheckBoxControl(std::string key, std::string caption, std::string frame) {
  return Make(ControlKind::CheckBox, std::move(key), std::move(caption), std::move(frame));
}

Control CharFieldControl(std::string key, std::string caption, std::string frame) {
  Control control = Make(ControlKind::CharField, std::move(key), std::move(caption), std::move(frame));
  control.maxLength = 1;
  return control;
}

Control TextFieldControl(std::string key, std::string caption, int maxLength, bool digitsOnly) {
  Control control = Make(ControlKind::TextField, std::move(key), std::move(caption));
  control.maxLength = maxLength;
  control.digitsOnly = digitsOnly;
  return control;
}

Control PathFieldControl(std::string key, std::string caption, PathKind kind, std::string filter) {
  Control control = TextFieldControl(std::move(key), std::move(caption));
  control.path = kind;
  control.pathFilter = std::move(filter);
  return control;
}

Control TickListControl(std::string key, std::string caption) {
  return Make(ControlKind::TickList, std::move(key), std::move(caption));
}

Control MultiListControl(std::string key, std::string caption) {
  return Make(ControlKind::MultiList, std::move(key), std::move(caption));
}

Control DropDownControl(std::string key, std::string caption) {
  return Make(ControlKind::DropDown, std::move(key), std::move(caption));
}

}  // namespace vorn
