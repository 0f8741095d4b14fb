// Host: what the program asks of the platform it runs on. The desktop window and the script
// runner each implement it; commands and analyses never know which one is there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <string_view>

#include "core/dialog_form.h"
#include "core/group_manager_view.h"
#include "core/status_history.h"

namespace vorn {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct FileDialogOptions {
  std::string title;         // "" lets the host choose
  std::string filter;        // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
  std::string initialFolder; // "" = the current directory
  std::string initialName;
  std::string defaultExtension;  // added to a name typed without one ("txt")
  bool confirmOverwrite = false;
};

// The options of a save-file dialog: an existing file is replaced only when the user confirms.
inline FileDialogOptions SaveFileOptions(std::string title, std::string filter, std::string initialName,
                                         std::string defaultExtension = "") {
  return FileDialogOptions{std::move(title), std::move(filter), "", std::move(initialName), std::move(defaultExtension),
                           true};
}

class Host {
 public:
  virtual ~Host() = default;

  // A message box without icon; the answer is Ok for an OK box, Yes or No otherwise.
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) = 0;

  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;

  // Shows a settings dialog modally; the user's edits are left in the form. True for OK.
  virtual bool ShowDialog(DialogForm& form) = 0;

  // Shows the Group Manager modally, running its handlers as the user works its controls.
  // True when it was closed with OK.
  virtual bool ShowGroupManager(GroupManagerView& dialog) = 0;

  // The text on the clipboard (a table copied in a spreadsheet); nothing when it holds no text or
  // the host has no clipboard, as this default.
  virtual std::optional<std::string> ClipboardText() { return std::nullopt; }

  // A line was reported; lines are the six status lines after it.
  virtual void Reported(std::string_view line, const StatusHistory& lines) = 0;

  // True when the host shows completion lines (Session::Tell); a host that keeps a transcript
  // of the reported lines only keeps this default, so its transcript holds the report lines alone.
  virtual bool ShowsCompletionLines() const { return false; }

  // The progress of a long command: a window captioned caption showing text ("Replicate 3 of
  // 100") and done of total steps, shown from the first call until EndProgress. False once the
  // user asked the command to stop; it then stops after the step it is in. Called only from the
  // thread that runs the command. A host without such a window keeps these defaults.
  virtual bool ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) {
    (void)caption, (void)text, (void)done, (void)total;
    return true;
  }
  virtual void EndProgress() {}

  // A caption or a dynamic submenu of the menu bar changed.
  virtual void MenuChanged() = 0;

  // Opens a document with the desktop's associated viewer; false when that is not possible.
  virtual bool OpenDocument(const std::string& path) = 0;

  // The current date and time in the user's short date and long time formats.
  virtual std::string DateText() = 0;
  virtual std::string TimeText() = 0;

  // The program ends after the current command.
  virtual void Quit() = 0;
};

}  // namespace vorn
