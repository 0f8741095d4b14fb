// The manual in docs/ against the program: every menu command has its section, every dialog key
// of --help is explained, every example script runs, and every example file the manual quotes is
// quoted as it stands in examples/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "commands/menu_table.h"
#include "script/script_runner.h"
#ifdef VORN_PICTURES
#include "pictures/picture_files.h"
#endif
#include "support/temp_dir.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

const fs::path kSource = VORN_SOURCE_DIR;

std::string Chapter(const std::string& name) { return ReadFile((kSource / "docs" / name).string()); }

std::string WholeManual() {
  std::vector<fs::path> chapters;
  for (const auto& entry : fs::directory_iterator(kSource / "docs")) {
    if (entry.path().extension() == ".md") chapters.push_back(entry.path());
  }
  std::sort(chapters.begin(), chapters.end());
  std::string text;
  for (const auto& chapter : chapters) text += ReadFile(chapter.string()) + "\n";
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The menu path as a script writes it: plain captions without a trailing "...".
std::string ScriptCaption(const std::string& caption) {
  std::string plain = PlainCaption(caption);
  if (plain.size() > 3 && plain.ends_with("...")) plain.resize(plain.size() - 3);
  return plain;
}

void MenuPaths(const std::vector<MenuItem>& items, const std::string& prefix, std::set<std::string>& paths) {
  for (const auto& item : items) {
    if (item.caption == "-") continue;
    const std::string path = prefix + ScriptCaption(item.caption);
    if (item.IsSubmenu()) MenuPaths(item.items, path + " > ", paths);
    else paths.insert(path);
  }
}

// The section under the level-3 heading "### title", up to the next heading.
std::string Section(const std::string& chapter, const std::string& title) {
  std::string section;
  bool inside = false;
  for (const auto& line : Lines(chapter)) {
    if (line.starts_with("#")) {
      if (inside) break;
      inside = line == "### " + title;
    } else if (inside) {
      section += line + "\n";
    }
  }
  return section;
}

TEST(Manual, DocumentsExactlyTheCommandsOfTheMenu) {
  std::set<std::string> menu;
  MenuPaths(MainMenu(), "", menu);
  std::set<std::string> documented;
  for (const auto& line : Lines(Chapter("03_commands.md"))) {
    if (line.starts_with("### ") && line.find(" > ") != std::string::npos) documented.insert(line.substr(4));
  }
  for (const auto& path : menu) EXPECT_TRUE(documented.count(path)) << "no section \"### " << path << "\" in docs/03_commands.md";
  for (const auto& path : documented) EXPECT_TRUE(menu.count(path)) << "\"" << path << "\" is documented but not in the menu";
}

TEST(Manual, ExplainsEveryDialogKeyOfTheHelpText) {
  const std::string scripts = Chapter("04_scripts.md");
  const std::vector<std::string> help = Lines(HelpText());
  auto dialogs = std::find(help.begin(), help.end(), "Dialogs (CAPTION: key=value):");
  ASSERT_NE(dialogs, help.end());
  std::string caption;
  int keys = 0;
  for (auto line = dialogs + 1; line != help.end() && !line->empty(); ++line) {
    if (!line->starts_with("    ")) {
      caption = line->substr(2);
      EXPECT_FALSE(Section(scripts, caption).empty()) << "no section \"### " << caption << "\" in docs/04_scripts.md";
      continue;
    }
    const std::string key = line->substr(4, line->find(" = ") - 4);
    EXPECT_NE(Section(scripts, caption).find("`" + key + "`"), std::string::npos) << caption << ": key " << key;
    ++keys;
  }
  EXPECT_GT(keys, 40);

  auto manager = std::find_if(help.begin(), help.end(), [](const std::string& l) { return l.starts_with("Group Manager ("); });
  ASSERT_NE(manager, help.end());
  const std::string section = Section(scripts, "Group Manager");
  for (auto line = manager + 1; line != help.end(); ++line) {
    if (!line->starts_with("    ")) continue;
    const std::string action = line->substr(4, line->find_first_of("= ", 4) - 4);
    EXPECT_NE(section.find("`" + action), std::string::npos) << "Group Manager action " << action;
  }
}

// Every example script and every small file beside it runs or reads as the manual shows it.
class ExampleScript : public ::testing::TestWithParam<std::string> {};

std::vector<std::string> ExampleScripts() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
    // example.vorn is the start-up example run from the repository's folder (its own test).
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".vorn" && name != "example.vorn") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_P(ExampleScript, RunsInAFreshFolderWithoutAnError) {
  TempDir dir;
  fs::copy(kSource / "examples", dir.Path() / "examples");
  fs::create_directory(dir.Path() / "work");
  dir.Enter();
  fs::current_path("work");
  ScriptOptions options;
#ifdef VORN_PICTURES
  PictureFiles pictures;
  options.pictures = &pictures;
#else
  if (GetParam() == "pictures.vorn") GTEST_SKIP() << "this build draws no pictures (built without Qt)";
#endif
  options.path = "../examples/" + GetParam();
  options.seed = 1;
  options.fixedClock = true;
  options.strict = true;
  std::ostringstream out, err;
  EXPECT_EQ(RunScript(options, out, err), 0) << err.str();
  EXPECT_EQ(err.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScript, ::testing::ValuesIn(ExampleScripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.size() - 5);
                         });

std::string Indented(const std::string& text) {
  std::string block;
  for (const auto& line : Lines(text)) block += line.empty() ? "\n" : "    " + line + "\n";
  return block;
}

TEST(Manual, QuotesEveryExampleScriptAndSmallFileAsItStands) {
  const std::string manual = WholeManual();
  int quoted = 0;
  for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
    const std::string name = entry.path().filename().string();
    if (name == "example.vorn" || name == "sedge_aflp.txt") continue;  // too long to quote whole
    EXPECT_NE(manual.find(Indented(ReadFile(entry.path().string()))), std::string::npos)
        << "the manual does not quote examples/" << name << " as it stands";
    ++quoted;
  }
  EXPECT_GT(quoted, 10);
}

#ifdef VORN_HELP_DOCUMENT
TEST(Manual, HelpDocumentIsAPdfOfManyPages) {
  const std::string pdf = ReadFile(VORN_HELP_DOCUMENT);
  ASSERT_TRUE(pdf.starts_with("%PDF-"));
  std::size_t pages = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  EXPECT_GT(pages, 20u);
}
#endif

}  // namespace
}  // namespace vorn
