// Session: the workspace together with its host, and the services every command uses on them:
// reporting a line to the status lines and the log, message boxes, the "No data loaded!" guard,
// and opening result files with the append-or-rewrite question.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/host.h"
#include "core/text_file.h"
#include "core/workspace.h"

namespace vorn {

class Session {
 public:
  Session(Workspace& workspace, Host& host) : ws(workspace), host(host) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  virtual ~Session() = default;

  Workspace& ws;
  Host& host;

  // The one entry point for progress lines: the status lines, and the log when it is on. A log
  // that cannot be written (disk full) is turned off at the first failed line, which is told in
  // the error box with the system's reason.
  void Report(std::string_view line);

  // A line added for the user's eyes only, such as where a command's results went: the status
  // lines on a host that shows such lines, never the log file.
  void Tell(std::string_view line);

  // A box titled "Error" with an OK button.
  void ErrorBox(std::string_view text);
  MessageAnswer MessageQuery(std::string_view text, std::string_view title, MessageButtons buttons);

  // True when data are loaded; otherwise shows message in the error box.
  bool RequireData(std::string_view message = "No data loaded!");

  // Asks whether to append to an existing file (Yes) or rewrite it (No), unless the Output Files
  // option gives the answer once for all; creates a missing file empty. Gives the rewrite flag, or nothing when the file could not be created (already told).
  std::optional<bool> PrepareOutputFile(const std::string& name);
  // Opens name at its end, or (rewrite) to write it anew: the file is then replaced whole when the
  // writer is closed without failure, and kept as it was otherwise. Nothing when it cannot be
  // opened (already told).
  std::optional<TextFileWriter> OpenOutputFile(const std::string& name, bool rewrite);
  // PrepareOutputFile, then OpenOutputFile: the usual start of a result block.
  std::optional<TextFileWriter> BeginOutputFile(const std::string& name);
  // Closes a result file; false when the system reported a write failure (already told).
  bool FinishOutputFile(TextFileWriter& file);

  // Opens the log file (asking whether to append to an existing one) and reports the start line.
  bool StartLogging();
  // Reports the stop line and closes the log.
  void StopLogging();
  // Closes the log without a stop line, as at exit.
  void CloseLog();

  // Shows a failure's message in the error box; true when there was none.
  template <typename T>
  bool Check(const Result<T>& result) {
    if (!result) ErrorBox(result.error());
    return result.ok();
  }

 protected:
  // Logging was turned off without the command that turns it off (a failed log write): the
  // program shows it, e.g. in the menu caption.
  virtual void LoggingTurnedOff() {}

 private:
  void LogWriteFailed(const std::string& reason);
};

}  // namespace vorn
