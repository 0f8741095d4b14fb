// The manual in docs/ against the program: every menu command has its section, every dialog key
// of --help is explained, every example script runs, and every example file the manual quotes is
// quoted as it stands in examples/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "commands/all_commands.h"
#include "commands/shell/menu_table.h"
#include "script/script_host.h"
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

// The manual is the numbered chapters, the ones the help document typesets; docs/ also holds
// files for developers (benchmarks.md, developing.md) that are no part of it.
std::string WholeManual() {
  std::vector<fs::path> chapters;
  for (const auto& entry : fs::directory_iterator(kSource / "docs")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".md" && std::isdigit(static_cast<unsigned char>(name[0]))) chapters.push_back(entry.path());
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

// A range a dialog field's caption states, "(9 to 100)", is the range the manual gives its key.
TEST(Manual, GivesTheRangeEveryDialogCaptionStates) {
  const std::string scripts = Chapter("04_scripts.md");
  std::ostringstream discard;
  ScriptHost host(discard);
  TMainPrg app(host, AllCommands());
  const std::regex range(R"(\((\d+ to \d+)\)$)");
  int ranges = 0;
  for (ModalDialog* dialog : app.dialogs.All()) {
    for (const Control& control : dialog->form.Controls()) {
      std::smatch found;
      if (!std::regex_search(control.caption, found, range)) continue;
      EXPECT_NE(Section(scripts, dialog->form.Caption()).find(found[1].str()), std::string::npos)
          << dialog->form.Caption() << ": " << control.key << " takes " << found[1];
      ++ranges;
    }
  }
  EXPECT_GT(ranges, 5);
}

// Every work the manual cites by name and year, "Jaccard (1908)" or "(Gower 1966)", is listed
// among the references of the statistics chapter.
TEST(Manual, ListsEveryCitedWorkAmongTheReferences) {
  const std::string manual = WholeManual();
  const std::size_t listed = manual.find("## References");
  ASSERT_NE(listed, std::string::npos);
  std::vector<std::string> references;
  for (const auto& line : Lines(manual.substr(listed))) {
    if (line.starts_with("- ")) references.push_back(line);
    else if (line.starts_with("  ") && !references.empty()) references.back() += line;
  }
  const std::string text = manual.substr(0, listed) + manual.substr(manual.find("\n#", listed + 1) + 1);
  const std::regex citation(R"(([A-Z][^\s(),;.]*)[\s(]+((1[89]|20)\d\d)\b)");
  int cited = 0;
  for (std::sregex_iterator it(text.begin(), text.end(), citation), end; it != end; ++it, ++cited) {
    const std::string name = (*it)[1], year = "(" + (*it)[2].str() + ")";
    EXPECT_TRUE(std::any_of(references.begin(), references.end(), [&](const std::string& reference) {
      return reference.find(name) != std::string::npos && reference.find(year) != std::string::npos;
    })) << name << " " << year << " is cited but not among the references";
  }
  EXPECT_GT(cited, 10);
}

// The manual's install section names every package tools/install-dependencies.sh installs.
TEST(Manual, NamesEveryPackageTheInstallScriptInstalls) {
  const std::string script = ReadFile((kSource / "tools" / "install-dependencies.sh").string());
  const std::size_t start = script.find("packages=(");
  ASSERT_NE(start, std::string::npos);
  std::istringstream list(script.substr(start + 10, script.find(')', start) - start - 10));
  const std::string install = ReadFile((kSource / "docs" / "01_getting_started.md").string());
  int packages = 0;
  for (std::string package; list >> package;) {
    if (package.starts_with("\"$")) continue;  // the packages a caller adds
    EXPECT_NE(install.find("`" + package + "`"), std::string::npos) << package;
    ++packages;
  }
  EXPECT_GT(packages, 5);
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
std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The PDF has its pages, and a bookmark and a link from the contents for every chapter ("# ")
// and section ("## ") of the manual.
TEST(Manual, HelpDocumentHasABookmarkAndAContentsLinkPerHeading) {
  const std::string pdf = ReadFile(VORN_HELP_DOCUMENT);
  ASSERT_TRUE(pdf.starts_with("%PDF-"));
  EXPECT_GT(Count(pdf, "/Type /Page\n"), 20u);
  std::size_t headings = 0;
  for (const auto& line : Lines(WholeManual())) headings += line.starts_with("# ") || line.starts_with("## ");
  EXPECT_EQ(Count(pdf, "/Type /Outlines"), 1u);
  EXPECT_EQ(Count(pdf, "/Title <FEFF"), headings);
  EXPECT_EQ(Count(pdf, "/Subtype /Link"), headings);
}

// Every picture the chapters show ("![caption](images/....png)") is embedded in the PDF; one named
// only by its file would print as an empty space.
TEST(Manual, HelpDocumentHoldsEveryPictureOfTheManual) {
  const std::string pdf = ReadFile(VORN_HELP_DOCUMENT);
  const std::size_t pictures = Count(WholeManual(), "](images/");
  ASSERT_GT(pictures, 3u);
  EXPECT_GE(Count(pdf, "/Subtype /Image"), pictures);
  if (std::system("pdfimages -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
  TempDir dir;
  ASSERT_EQ(std::system(("pdfimages -list " VORN_HELP_DOCUMENT " > " + dir.File("images.txt")).c_str()), 0);
  std::size_t listed = 0;
  for (const auto& line : Lines(ReadFile(dir.File("images.txt")))) {
    std::istringstream fields(line);
    std::string page, number, type;
    fields >> page >> number >> type;
    listed += type == "image";  // not the soft masks of transparent pictures
  }
  EXPECT_GE(listed, pictures);
}

// The text as a reader finds and copies it: no line twice across a page break, no Markdown
// escape left in a table.
TEST(Manual, HelpDocumentTextHasEachLineOnceAndNoEscapes) {
  if (std::system("pdftotext -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  TempDir dir;
  ASSERT_EQ(std::system(("pdftotext " VORN_HELP_DOCUMENT " " + dir.File("help.txt")).c_str()), 0);
  const std::string text = ReadFile(dir.File("help.txt"));
  EXPECT_EQ(text.find("\\|"), std::string::npos);
  std::vector<std::vector<std::string>> pages(1);
  for (const auto& line : Lines(text)) {
    for (std::size_t at = 0, feed; at <= line.size(); at = feed + 1) {
      feed = std::min(line.find('\f', at), line.size());
      if (feed > at) pages.back().push_back(line.substr(at, feed - at));
      if (feed < line.size()) pages.emplace_back();
    }
  }
  ASSERT_GT(pages.size(), 20u);
  for (std::size_t page = 1; page < pages.size(); ++page) {
    const auto& before = pages[page - 1];
    if (before.empty() || pages[page].empty()) continue;
    // The page number is the last line; the three before it are the page's foot.
    const auto foot = before.end() - std::min<std::ptrdiff_t>(4, before.size());
    EXPECT_EQ(std::find(foot, before.end() - 1, pages[page].front()), before.end() - 1)
        << "\"" << pages[page].front() << "\" ends page " << page << " and starts page " << page + 1;
  }
}
#endif

}  // namespace
}  // namespace vorn
