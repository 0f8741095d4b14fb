// vorn: the desktop window, or a command script run without one.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "build_commit.h"
#include "commands/shell/main_program.h"
#include "commands/shell/program_notice.h"
#include "core/kernel_paths.h"
#include "script/script_runner.h"
#if VORN_WITH_QT
#include <QtGlobal>

#include "ui/desktop.h"
#include "ui/report_text_document.h"
#endif

namespace {

// The version with what a methods section cites besides it (compiler, Qt and commit), the
// kernels' paths chosen on this processor, which explain its timings, the licence and how to cite
// the program.
std::string VersionText() {
  std::string text = std::string("Vorn ") + vorn::kVersion + "\nCompiler: " + VORN_COMPILER + "\nQt: ";
#if VORN_WITH_QT
  text += qVersion();
#else
  text += "none (built without the desktop window)";
#endif
  text += std::string("\nCommit: ") + (*kBuildCommit ? kBuildCommit : "unknown") + "\n";
  text += "Kernels: " + vorn::ChosenPathsText() + "\n";
  text += std::string("Licence: ") + vorn::kLicenceNotice + "\n" + vorn::CitationNotice() + "\n";
  return text;
}

int Usage(const std::string& problem) {
  std::cerr << "vorn: " << problem << "\nTry 'vorn --help'.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#if VORN_KERNEL_PATH_SETTING
  // The benchmarks' build of the program lets VORN_KERNEL_PATH force the kernels' path, so that a
  // workflow can be timed on each path this processor runs; the program users build never reads it.
  if (const char* setting = std::getenv("VORN_KERNEL_PATH")) {
    if (const std::optional<std::string> problem = vorn::ForcePathOfSetting(setting)) return Usage(*problem);
  }
#endif
  vorn::ScriptOptions options;
  options.commit = kBuildCommit;
  bool script = false;
  std::string screenshotPath;
  std::string dataFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << vorn::HelpText();
      return 0;
    } else if (arg == "--version") {
      std::cout << VersionText();
      return 0;
    } else if (arg == "--script" && i + 1 < argc) {
      script = true;
      options.path = argv[++i];
    } else if (arg == "--seed" && i + 1 < argc) {
      char* end = nullptr;
      const char* text = argv[++i];
      const unsigned long long seed = std::strtoull(text, &end, 10);
      if (*text == '\0' || *end != '\0' || *text == '-' || seed > 0xFFFFFFFFull) {
        return Usage(std::string("--seed takes a number from 0 to 4294967295, not \"") + text + "\"");
      }
      options.seed = static_cast<std::uint32_t>(seed);
    } else if (arg == "--screenshot" && i + 1 < argc) {
      screenshotPath = argv[++i];
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--fixed-clock") {
      options.fixedClock = true;
    } else if (arg == "--seed") {
      return Usage("--seed needs a number from 0 to 4294967295");
    } else if (arg == "--script" || arg == "--screenshot") {
      return Usage(arg + " needs a file name");
    } else if (!arg.starts_with("-") && dataFile.empty()) {
      dataFile = arg;  // a data file for the window to load at start
    } else {
      return Usage("unknown argument \"" + arg + "\"");
    }
  }
#if VORN_WITH_QT
  vorn::ui::DocumentFiles pictures;
  options.pictures = &pictures;
#endif
  if (script && !dataFile.empty()) return Usage("unknown argument \"" + dataFile + "\"");
  if (script) return vorn::RunScript(options, std::cout, std::cerr);
#if VORN_WITH_QT
  return vorn::ui::RunDesktop(argv[0], {options.seed, screenshotPath, dataFile, options.commit});
#else
  return Usage("this build has no desktop window; run a script with --script FILE");
#endif
}
