#include "core/session.h"

namespace vorn {

void Session::Report(std::string_view line) {
  ws.status.Add(line);
  Status logged = Success();
  if (ws.log.logging && ws.log.file) {
    ws.log.file->Line(line);
    ws.log.file->Keep();
    logged = ws.log.file->Written();
  }
  host.Reported(line, ws.status);
  if (!logged) LogWriteFailed(logged.error());
}

void Session::Tell(std::string_view line) {
  if (!host.ShowsCompletionLines()) return;
  ws.status.Add(line);
  host.Reported(line, ws.status);
}

void Session::LogWriteFailed(const std::string& reason) {
  // Dropping the log's writer closes the file without writing again: the failure is told once.
  ws.log.file.reset();
  ws.log.logging = false;
  LoggingTurnedOff();
  ErrorBox(reason + "\r\n\r\nLogging has been turned off.");
}

void Session::ErrorBox(std::string_view text) { host.ShowMessage(text, "Error", MessageButtons::Ok); }

MessageAnswer Session::MessageQuery(std::string_view text, std::string_view title, MessageButtons buttons) {
  return host.ShowMessage(text, title, buttons);
}

bool Session::RequireData(std::string_view message) {
  if (!ws.dataLoaded) ErrorBox(message);
  return ws.dataLoaded;
}

std::optional<bool> Session::PrepareOutputFile(const std::string& name) {
  if (FileExists(name)) {
    if (ws.settings.existingOutputFile != ExistingOutputFile::Ask) {
      return ws.settings.existingOutputFile == ExistingOutputFile::Rewrite;
    }
    const auto answer = MessageQuery("File already exists.\r\n\r\n" + name + "\r\n\r\n" +
                                         "Append data to file rather than rewriting file?",
                                     "Output file exists", MessageButtons::YesNo);
    return answer == MessageAnswer::No;
  }
  if (!Check(TouchFile(name))) return std::nullopt;
  return false;
}

std::optional<TextFileWriter> Session::OpenOutputFile(const std::string& name, bool rewrite) {
  auto file = TextFileWriter::Open(name, rewrite ? WriteMode::Replace : WriteMode::Append);
  if (!Check(file)) return std::nullopt;
  return std::move(*file);
}

std::optional<TextFileWriter> Session::BeginOutputFile(const std::string& name) {
  const auto rewrite = PrepareOutputFile(name);
  if (!rewrite) return std::nullopt;
  return OpenOutputFile(name, *rewrite);
}

bool Session::FinishOutputFile(TextFileWriter& file) { return Check(file.Close()); }

bool Session::StartLogging() {
  const auto rewrite = PrepareOutputFile(ws.files.log);
  if (!rewrite) return false;
  // The log stays open for appending while logging is on; rewriting it first replaces it with an
  // empty file.
  if (*rewrite && !Check(ReplaceFileWhole(ws.files.log, [](TextFileWriter&) { return Success(); }))) return false;
  auto file = OpenOutputFile(ws.files.log, false);
  if (!file) return false;
  ws.log.file = std::move(*file);
  ws.log.logging = true;
  Report("Started Logging on " + host.DateText() + " at " + host.TimeText());
  return true;
}

void Session::StopLogging() {
  Report("Stopped Logging on " + host.DateText() + " at " + host.TimeText());
  CloseLog();
}

void Session::CloseLog() {
  if (ws.log.file) FinishOutputFile(*ws.log.file);
  ws.log.file.reset();
  ws.log.logging = false;
}

}  // namespace vorn
