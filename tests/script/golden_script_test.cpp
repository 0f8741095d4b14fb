// Runs every script under tests/data/scripts/<case>/ in a fresh folder holding the case's input
// files, and compares the transcript, the error output, the exit status and every file the
// script wrote with the case's expected/ folder, byte for byte. VORN_REGENERATE_GOLDEN=1
// rewrites the expected files instead; do that only on purpose, and read the difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/script_runner.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

const fs::path kCases = fs::path(VORN_TEST_DATA) / "scripts";

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream a(expected), b(actual);
  std::string lineA, lineB;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, lineA));
    const bool moreB = static_cast<bool>(std::getline(b, lineB));
    if (!moreA && !moreB) return "texts differ only in line ends";
    if (lineA != lineB || moreA != moreB) {
      return "first difference in line " + std::to_string(line) + ":\n  expected: " + (moreA ? lineA : "(end)") +
             "\n  actual:   " + (moreB ? lineB : "(end)");
    }
  }
}

void Compare(const fs::path& expectedFile, const std::string& actual, bool regenerate) {
  if (regenerate) {
    fs::create_directories(expectedFile.parent_path());
    std::ofstream(expectedFile, std::ios::binary) << actual;
    return;
  }
  const std::string expected = ReadFile(expectedFile.string());
  EXPECT_TRUE(expected == actual) << expectedFile.filename().string() << ": " << FirstDifference(expected, actual);
}

class GoldenScript : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScript, MatchesItsExpectedOutput) {
  const fs::path caseDir = kCases / GetParam();
  const fs::path expectedDir = caseDir / "expected";
  const bool regenerate = std::getenv("VORN_REGENERATE_GOLDEN") != nullptr;

  TempDir work;
  for (const auto& entry : fs::directory_iterator(caseDir)) {
    if (entry.path().filename() != "expected") fs::copy(entry.path(), work.Path() / entry.path().filename(), fs::copy_options::recursive);
  }
  work.Enter();
  std::set<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(work.Path())) inputs.insert(entry.path().filename().string());

  ScriptOptions options;
  options.path = "script.vorn";
  options.seed = 1;
  options.fixedClock = true;
  options.strict = inputs.count("strict") > 0;
  std::ostringstream out, err;
  const int status = RunScript(options, out, err);

  if (regenerate) fs::remove_all(expectedDir);
  Compare(expectedDir / "transcript.txt", out.str(), regenerate);
  Compare(expectedDir / "stderr.txt", err.str(), regenerate);
  Compare(expectedDir / "exit_status.txt", std::to_string(status) + "\n", regenerate);

  // Every file the script wrote must be expected, and every expected file written.
  std::set<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(work.Path())) {
    const std::string name = fs::relative(entry.path(), work.Path()).string();
    if (entry.is_regular_file() && !inputs.count(fs::path(name).begin()->string())) written.insert(name);
  }
  for (const auto& name : inputs) {
    const fs::path original = caseDir / name;
    if (fs::is_regular_file(original) && ReadFile(original.string()) != ReadFile((work.Path() / name).string())) {
      written.insert(name);  // an input the script changed
    }
  }
  for (const auto& name : written) Compare(expectedDir / "files" / name, ReadFile((work.Path() / name).string()), regenerate);
  if (!regenerate && fs::exists(expectedDir / "files")) {
    for (const auto& entry : fs::recursive_directory_iterator(expectedDir / "files")) {
      const std::string name = fs::relative(entry.path(), expectedDir / "files").string();
      if (entry.is_regular_file()) {
        EXPECT_TRUE(written.count(name)) << "the script did not write " << name;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenScript, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace vorn
