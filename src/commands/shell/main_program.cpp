#include "commands/shell/main_program.h"

#include <exception>
#include <new>
#include <utility>

#include "commands/shell/completion_lines.h"
#include "core/processor.h"
#include "core/program_folder.h"

namespace vorn {
namespace {

// A group name is shown as it is: an "&" in it is not an accelerator mark.
std::string EscapeAmpersands(const std::string& name) {
  std::string caption;
  for (char c : name) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

}  // namespace

TMainPrg::TMainPrg(Host& host, HandlerTable handlers)
    : Session(workspace, host),
      menu(MainMenu()),
      helpDocument(InstalledFile("vornhelp.pdf")),
      handlers_(std::move(handlers)) {}

void TMainPrg::Start(std::optional<std::uint32_t> seed) {
  ws.dataLoaded = false;
  startSeed_ = seed ? *seed : SeedFromClock();
  ws.random.Seed(startSeed_);
  if (!ProcessorHasFpu()) {
    MessageQuery(
        "No FPU detected. This program uses FPU instructions for calculations. \r\n"
        "Therefore, (unless there is FPU emulation) Vorn may crash.",
        "Warning", MessageButtons::Ok);
  }
  dialogs.fileParam.ShowAmbiguityNegative(false);
  Report("Welcome to Vorn 1.1 beta. Please report any problems you might experience.");
}

void TMainPrg::Run(const MenuItem& item) {
  const auto handler = handlers_.find(item.handler);
  if (handler == handlers_.end()) {
    ErrorBox("This command is not available yet.");
    return;
  }
  if (recorder) recorder->BeginCommand(menu, item);
  // What the command may change of the working data, kept for Undo until it returns.
  std::optional<MatrixState> before;
  if (ws.dataLoaded) before = MatrixState::Of(ws);
  const std::uint64_t loadsBefore = loads, moves = history.Moves();
  const WrittenFileRecorder written;
  try {
    handler->second(*this, item);
  } catch (const std::bad_alloc&) {
    ErrorBox("Not enough memory");
  } catch (const std::exception& failure) {
    ErrorBox(failure.what());
  }
  if (recorder) recorder->EndCommand();
  NoteDataChange(item, std::move(before), loadsBefore, moves, !written.Files().empty());
  for (const std::string& line : CompletionLines(written.Files(), ws.files)) Tell(line);
}

void TMainPrg::NoteDataChange(const MenuItem& item, std::optional<MatrixState> before, std::uint64_t loadsBefore,
                              std::uint64_t moves, bool wroteFiles) {
  if (!ws.dataLoaded || loads != loadsBefore) {
    history.Clear();
    unsavedChanges = false;
    return;
  }
  if (history.Moves() != moves) {
    unsavedChanges = true;
  } else if (before && !before->SameAs(ws)) {
    const std::string path = ScriptPathOf(menu, item);
    // The menu names the step without its top menu: "Remove Loci > Monomorphic", "Rename".
    const std::size_t top = path.find(" > ");
    history.RecordState(path, std::move(*before), top == std::string::npos ? "" : path.substr(top + 3));
    unsavedChanges = true;
  }
  if (item.handler == "Save1Click" && wroteFiles) unsavedChanges = false;
}

void TMainPrg::UpdateLogCaption() {
  if (MenuItem* item = FindByHandler(menu, "urnlogon1Click")) {
    item->caption = std::string(ws.log.logging ? kLogOffCaption : kLogOnCaption);
  }
  host.MenuChanged();
}

void TMainPrg::RebuildGroupMenu(const std::vector<std::string>& displayNames) {
  MenuItem* submenu = FindSubmenuOf(menu, kSelectGroupHandler);
  submenu->items.resize(1);
  for (std::size_t i = 1; i < displayNames.size(); ++i) {
    submenu->items.push_back(MenuItem{EscapeAmpersands(displayNames[i]), std::string(kSelectGroupHandler), {}, static_cast<int>(i)});
  }
  host.MenuChanged();
}

}  // namespace vorn
