// A program driven by a recording host in a fresh current folder, for command handler tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "commands/main_program.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace vorn::testing {

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    dir.Enter();
    app.Start(1);
    host.reports.clear();
  }

  void Run(std::string_view handler) { app.Run(*FindByHandler(app.menu, handler)); }

  // Loads name, answering the file parameter dialog with dialog (accepted as it stands without).
  void Load(const std::string& name, const std::function<bool(DialogForm&)>& dialog = {}) {
    host.files.push_back(name);
    if (dialog) host.dialogs.push_back(dialog);
    Run("Load1Click");
  }

  // The entries of "Select Group Only" as captions.
  std::vector<std::string> GroupMenu() {
    std::vector<std::string> captions;
    for (const auto& item : FindSubmenuOf(app.menu, kSelectGroupHandler)->items) captions.push_back(item.caption);
    return captions;
  }

  // Chooses entry position of "Select Group Only".
  void SelectGroupEntry(std::size_t position) {
    app.Run(FindSubmenuOf(app.menu, kSelectGroupHandler)->items.at(position));
  }

  TempDir dir;
  RecordingHost host;
  TMainPrg app{host};
};

}  // namespace vorn::testing
