// A fixture for command tests: the program on a recording host, run in a fresh folder, with a
// way to load a matrix given as text (individuals in columns, names on the first line).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/all_commands.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace vorn::testing {

// Five individuals over twelve loci with a few missing scores: enough for trees whose replicates
// differ.
inline constexpr const char* kFiveIndividuals =
    "A B C D E\n"
    "1 1 0 0 1\n1 ? 1 0 0\n0 1 1 ? 1\n1 1 0 1 0\n0 0 1 1 ?\n1 0 ? 1 1\n"
    "? 1 1 0 0\n1 1 1 1 0\n0 0 0 1 1\n1 ? 0 0 1\n0 1 1 1 ?\n1 0 1 0 1\n*\n";

class CommandTest : public ::testing::Test {
 protected:
  CommandTest() { dir.Enter(); }

  void Run(std::string_view handler) { app.Run(*FindByHandler(app.menu, handler)); }

  void Load(const std::string& text) {
    dir.Write("data.txt", text);
    LoadFile("data.txt");
    ASSERT_TRUE(app.ws.dataLoaded);
    host.reports.clear();
  }

  // Loads the file name, answering the file parameter dialog with dialog (accepted as it stands
  // without one).
  void LoadFile(const std::string& name, const std::function<bool(DialogForm&)>& dialog = {}) {
    host.files.push_back(name);
    if (dialog) host.dialogs.push_back(dialog);
    Run("Load1Click");
  }

  // The captions of "Select Group Only", and choosing its entry at position.
  std::vector<std::string> GroupMenu() {
    std::vector<std::string> captions;
    for (const auto& item : FindSubmenuOf(app.menu, kSelectGroupHandler)->items) captions.push_back(item.caption);
    return captions;
  }
  void SelectGroupEntry(std::size_t position) {
    app.Run(FindSubmenuOf(app.menu, kSelectGroupHandler)->items.at(position));
  }

  // Answers the next dialog: sets each key to its text and presses OK.
  void Answer(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
    host.dialogs.push_back([fields, ok](DialogForm& form) {
      for (const auto& [key, text] : fields) form[key].text = text;
      return ok;
    });
  }

  TempDir dir;
  RecordingHost host;
  TMainPrg app{host, AllCommands()};
};

}  // namespace vorn::testing
