// Running a command script without a window: `vorn --script FILE`.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace vorn {

class PictureMaker;

struct ScriptOptions {
  std::string path;                    // "-" reads standard input
  std::optional<std::uint32_t> seed;   // otherwise the clock seeds the generator
  bool strict = false;                 // a command that shows an error box fails the script
  bool fixedClock = false;             // constant date and time texts, for repeatable transcripts
  PictureMaker* pictures = nullptr;    // draws the View pictures; none in a build without Qt
  std::string commit;                  // the commit the program was built from, for its reports
};

// Runs the script, writing the transcript to out and script errors to err. Returns the process
// exit status: 0 when every command ran, 1 when the script stopped.
int RunScript(const ScriptOptions& options, std::ostream& out, std::ostream& err);

// The text of `vorn --help`: options, the script language, every menu command and every dialog
// with its keys and values.
std::string HelpText();

}  // namespace vorn
