// libFuzzer target for command scripts: the script text, the answers it gives to the settings
// dialogs (applied to every dialog's form, tick lists and masked fields included) and the
// Group Manager action lines. Whatever the input, each step must either fail with a message or
// give a result that keeps its invariants.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "commands/dialogs/coefficient_dialog.h"
#include "commands/dialogs/file_param_dialog.h"
#include "commands/dialogs/missing_data_dialog.h"
#include "commands/dialogs/removal_dialogs.h"
#include "commands/dialogs/shannon_scaling_dialog.h"
#include "commands/shell/dialog_answer.h"
#include "script/group_manager_answer.h"
#include "script/script.h"

namespace {

template <typename Dialog>
void Answer(std::string_view value) {
  Dialog dialog;
  const vorn::Status applied = vorn::ApplyDialogAnswer(dialog.form, value);
  if (!applied.ok() && applied.error().empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const auto commands = vorn::ParseScript(source);
  if (!commands.ok()) {
    if (commands.error().empty()) std::abort();
    return 0;
  }
  for (const auto& command : *commands) {
    if (command.path.empty() || command.line < 1) std::abort();
    for (const auto& answer : command.answers) {
      if (answer.line <= command.line) std::abort();
      Answer<vorn::TFileParamDialog>(answer.value);
      Answer<vorn::TSelCDlg>(answer.value);
      Answer<vorn::TMDR_Dlg>(answer.value);
      Answer<vorn::TDataRemDlg>(answer.value);
      Answer<vorn::TShScaleDlg>(answer.value);
      const auto actions = vorn::ParseGroupManagerActions(answer.value);
      if (!actions.ok() && actions.error().empty()) std::abort();
    }
  }
  return 0;
}
