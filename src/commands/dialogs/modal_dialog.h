// The base of every settings dialog: a form created once, keeping its controls' state for the
// whole run, and a cancelled flag set only by the Cancel button.
#pragma once

#include <optional>
#include <string>

#include "core/dialog_form.h"
#include "core/host.h"

namespace vorn {

// Shown when a dialog's number cannot be read or lies outside its range; the dialog then opens again.
inline constexpr const char* kInvalidInput = "Invalid input. Please repeat.";

class ModalDialog {
 public:
  explicit ModalDialog(std::string caption) : form(std::move(caption)) {}
  virtual ~ModalDialog() = default;

  // Shows the form modally; true for OK.
  bool ShowModal(Host& host) {
    cancelled = !host.ShowDialog(form);
    return !cancelled;
  }

  DialogForm form;
  bool cancelled = false;
};

// Shows the dialog until read takes its fields or the user cancels; read tells what it refuses
// (a box naming the field) and gives nothing, and the dialog opens again.
template <typename Choices, typename Read>
std::optional<Choices> ShowUntilRead(ModalDialog& dialog, Host& host, const Read& read) {
  while (dialog.ShowModal(host)) {
    if (std::optional<Choices> choices = read()) return choices;
  }
  return std::nullopt;
}

}  // namespace vorn
