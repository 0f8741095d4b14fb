// Exit, About and Help.
#include "commands/shell/main_program.h"
#include "commands/shell/program_notice.h"
#include "core/text_file.h"

namespace vorn {
namespace {

void Exit1Click(TMainPrg& app) {
  app.Report("Exiting program. Bye bye!");
  if (app.ws.dataLoaded) app.ws.ReleaseData();
  if (app.ws.log.logging) app.CloseLog();
  app.host.Quit();
}

void About1Click(TMainPrg& app) {
  app.Report("Displaying About Box");
  app.MessageQuery(std::string("Vorn ") + kVersion +
                       "\r\n\r\nA workbench for binary fingerprint data of dominant markers (AFLP, RAPD, ISSR):"
                       "\r\nsimilarity under four treatments of missing scores, trees, consensus and R-support,"
                       "\r\nbootstrap replicates, Shannon diversity, AMOVA, PCoA and exports.\r\n\r\n" +
                       kLicenceNotice + "\r\n\r\n" + CitationNotice(),
                   kAboutBoxTitle, MessageButtons::Ok);
}

// Opens the help document installed beside the program with the desktop's viewer.
void Help1Click(TMainPrg& app) {
  if (!FileExists(app.helpDocument)) {
    app.MessageQuery("The help document \"" + app.helpDocument + "\" was not found beside the program.", "Help",
                     MessageButtons::Ok);
    return;
  }
  if (!app.host.OpenDocument(app.helpDocument)) {
    app.MessageQuery("No viewer could open the help document \"" + app.helpDocument + "\".", "Help",
                     MessageButtons::Ok);
  }
}

}  // namespace

void RegisterShellCommands(HandlerTable& table) {
  table["Exit1Click"] = Plain(Exit1Click);
  table["About1Click"] = Plain(About1Click);
  table["Help1Click"] = Plain(Help1Click);
}

}  // namespace vorn
