#include "script/script_runner.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "commands/all_commands.h"
#include "commands/shell/program_notice.h"
#include "commands/shell/dialog_answer.h"
#include "script/group_manager_answer.h"
#include "script/script.h"
#include "script/script_host.h"

namespace vorn {
namespace {

Result<std::string> ReadSource(const std::string& path) {
  std::ostringstream text;
  if (path == "-") {
    text << std::cin.rdbuf();
    return text.str();
  }
  // A folder opens like a file here but reads nothing: it must not pass for an empty script.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return Failure{"cannot read the script " + path + ": it is a folder"};
  std::ifstream file(path, std::ios::binary);
  if (!file) return Failure{"cannot read the script " + path};
  text << file.rdbuf();
  if (file.bad()) return Failure{"cannot read the script " + path};
  return text.str();
}

std::string Captions(const std::vector<MenuItem>& items) {
  std::string list;
  for (const auto& item : items) {
    if (item.IsSeparator()) continue;
    list += (list.empty() ? "" : ", ") + PlainCaption(item.caption);
  }
  return list;
}

// The menu item that a path of captions names.
Result<const MenuItem*> Resolve(const MenuBar& menu, const ScriptCommand& command) {
  const std::vector<MenuItem>* level = &menu;
  const MenuItem* found = nullptr;
  for (const auto& caption : command.path) {
    if (!level || level->empty()) {
      return Failure{"line " + std::to_string(command.line) + ": \"" + PlainCaption(found->caption) +
                     "\" has no submenu"};
    }
    found = nullptr;
    for (const auto& item : *level) {
      if (!item.IsSeparator() && SameCaption(item.caption, caption)) {
        found = &item;
        break;
      }
    }
    if (!found) {
      return Failure{"line " + std::to_string(command.line) + ": no menu item \"" + caption + "\" (there are: " +
                     Captions(*level) + ")"};
    }
    level = &found->items;
  }
  if (found->IsSubmenu()) {
    return Failure{"line " + std::to_string(command.line) + ": \"" + command.text +
                   "\" is a submenu; name one of: " + Captions(found->items)};
  }
  return found;
}

void ListCommands(const std::vector<MenuItem>& items, const std::string& prefix, std::string& text) {
  for (const auto& item : items) {
    if (item.IsSeparator()) continue;
    const std::string path = prefix + PlainCaption(item.caption);
    if (item.IsSubmenu()) {
      ListCommands(item.items, path + " > ", text);
    } else if (item.handler == kSelectGroupHandler) {
      if (item.tag == 0) text += "  " + prefix + "AllData (or the name of a group)\n";
    } else {
      text += "  " + path + "\n";
    }
  }
}

}  // namespace

int RunScript(const ScriptOptions& options, std::ostream& out, std::ostream& err) {
  auto source = ReadSource(options.path);
  if (!source) {
    err << "vorn: " << source.error() << "\n";
    return 1;
  }
  auto commands = ParseScript(*source);
  if (!commands) {
    err << "vorn: " << options.path << ": " << commands.error() << "\n";
    return 1;
  }

  ScriptHost host(out, options.fixedClock);
  TMainPrg app(host, AllCommands());
  app.pictures = options.pictures;
  app.scriptSource = *source;
  app.buildCommit = options.commit;
  const std::uint32_t seed = options.seed ? *options.seed : SeedFromClock();
  out << "Vorn " << kVersion << ", seed " << seed << "\n";
  app.Start(seed);

  for (std::size_t i = 0; i < commands->size(); ++i) {
    const ScriptCommand& command = (*commands)[i];
    out << "> " << command.text << "\n";
    auto item = Resolve(app.menu, command);
    if (!item) {
      err << "vorn: " << options.path << ": " << item.error() << "\n";
      return 1;
    }
    try {
      host.BeginCommand(command);
      app.Run(**item);
      host.EndCommand();
    } catch (const ScriptStop& stop) {
      out.flush();
      err << "vorn: " << options.path << ": " << stop.message << "\n";
      return 1;
    }
    out.flush();
    if (options.strict && host.ErrorShown()) {
      err << "vorn: " << options.path << ": line " << command.line << ": \"" << command.text
          << "\" ended with an error (--strict)\n";
      return 1;
    }
    if (host.QuitRequested()) {
      if (i + 1 < commands->size()) {
        err << "vorn: " << options.path << ": line " << (*commands)[i + 1].line << ": the program has exited\n";
        return 1;
      }
      break;
    }
  }
  return 0;
}

std::string HelpText() {
  std::ostringstream discard;
  ScriptHost host(discard);
  TMainPrg app(host, AllCommands());
  app.Start(0);

  std::string text =
      "Vorn " + std::string(kVersion) +
      ": a workbench for binary fingerprint data of dominant markers.\n"
      "\n"
      "Usage:\n"
      "  vorn [DATA]                open the desktop window (and load the data file DATA; a .csv or\n"
      "                             .tsv table is imported as File > Import > CSV / TSV Table does)\n"
      "  vorn --screenshot FILE [DATA]  open it (loading DATA with the default layout), save PNG\n"
      "                             pictures of the window (FILE), each tab (FILE-tab_Data.png ...),\n"
      "                             its menus and every dialog (FILE-Caption.png), and exit\n"
      "  vorn --script FILE         run the commands of FILE without a window (FILE - reads standard input)\n"
      "  vorn --help                show this text\n"
      "  vorn --version             show the version, the compiler, the Qt version and the commit\n"
      "                             the program was built from\n"
      "\n"
      "Description:\n"
      "  Vorn reads band matrices of dominant markers (AFLP, RAPD, ISSR, DArT presence/absence) in the\n"
      "  layout the scoring produced, filters and edits them, and computes similarity and distance\n"
      "  matrices under four treatments of missing scores, UPGMA and neighbour-joining trees, consensus\n"
      "  trees and R-support, bootstrap replicates, Shannon diversity with t-tests, AMOVA, principal\n"
      "  coordinates and the Mantel test; it exports the matrix to other programs. Without options it\n"
      "  opens the desktop window; with --script it runs a command script, for work to be repeated.\n"
      "\n"
      "Script options:\n"
      "  --seed N                   start the random generator from N (0 .. 4294967295) instead of the clock,\n"
      "                             so that a run can be repeated exactly\n"
      "  --strict                   stop with status 1 when a command ends with an error box\n"
      "  --fixed-clock              date and time texts 01/01/2000 and 00:00:00 (repeatable transcripts)\n"
      "\n"
      "Script language:\n"
      "  A line names a menu command by its captions joined with \" > \"; case, \"&\" and a trailing\n"
      "  \"...\" do not matter:  File > Load,  DataMatrix > Remove Loci > With Missing Data.\n"
      "  The indented lines under a command answer, in order, what the command asks:\n"
      "    file: PATH               the next open- or save-file dialog (file: cancel cancels it)\n"
      "    TITLE: Yes | No | OK     the next message box with that title, e.g. Output file exists: No\n"
      "    CAPTION: key=value, ...  fills the next dialog with that caption and presses OK\n"
      "    CAPTION: OK | cancel     presses OK without changes, or Cancel\n"
      "  A dialog without an answer line is accepted as it stands; an OK box is acknowledged.\n"
      "  A Yes/No box or a file dialog without an answer stops the script with status 1, and so\n"
      "  does an answer line that nothing asked for. \"#\" starts a comment; blank lines are ignored.\n"
      "  Values may be written in double quotes to keep commas or spaces: presence=\",\".\n"
      "\n"
      "Transcript (standard output): the version and seed, then each command as \"> PATH\", every\n"
      "report line as it is, every box as [Title] with its text indented and the answer given, every\n"
      "file dialog as [Open file] or [Save file] with the path, every dialog as [Caption] with the\n"
      "values given. Exit status 0 when every command ran; a command that ends with an error box\n"
      "still counts as run unless --strict is given.\n"
      "\n"
      "Commands:\n";
  ListCommands(app.menu, "", text);
  text += "\nDialogs (CAPTION: key=value):\n";
  for (ModalDialog* dialog : app.dialogs.All()) {
    text += "  " + dialog->form.Caption() + "\n" + DescribeDialog(dialog->form);
  }
  text +=
      "\nGroup Manager (Group Manager: ACTION, ACTION ...):\n"
      "  Each action works one control, in the order written; lines may follow one another.\n"
      "  The transcript shows after each action what changed in the window.\n" +
      DescribeGroupManagerActions();
  text +=
      "\nFiles:\n"
      "  analysis.txt, outtree.ph, constree.ph, vornlog.txt: the analysis, tree, consensus and log\n"
      "  files, in the working folder unless File > Select File Names chose others.\n"
      "  ~/.config/vorn/vorn.ini: the window's geometry and recent files; scripts never read it.\n"
      "  vornhelp.pdf: the help document Help > Help opens, beside the program or in share/vorn below\n"
      "  its installation prefix (/usr/share/vorn/vornhelp.pdf from the Debian package).\n"
      "\nCopyright:\n"
      "  " + std::string(kLicenceNotice) + "\n"
      "  " + CitationNotice() + "\n"
      "\nSee also:\n"
      "  The help document vornhelp.pdf, and xvfb-run(1) to open the window on a machine without a screen.\n";
  return text;
}

}  // namespace vorn
