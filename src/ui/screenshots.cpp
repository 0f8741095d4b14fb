#include "ui/screenshots.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <cctype>
#include <set>

#include "ui/desktop.h"
#include "ui/form_dialog.h"
#include "ui/group_manager_window.h"
#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

// Lets the window system map and paint a widget that was just shown.
void Settle(QWidget& widget) {
  const QDeadlineTimer deadline(2000);
  while (!deadline.hasExpired() && !(widget.windowHandle() && widget.windowHandle()->isExposed())) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  for (int round = 0; round < 5; ++round) QApplication::processEvents();
}

class Saver {
 public:
  Saver(const std::string& path, std::ostream& log) : path_(path), log_(log) {}

  void Save(QWidget& widget, const std::string& caption) {
    Settle(widget);
    // Captions that differ only in punctuation ("Data removal", "Data removal...") get numbers.
    std::string name = caption.empty() ? path_ : ScreenshotName(path_, caption);
    for (int number = 2; !saved_.insert(name).second; ++number) {
      name = ScreenshotName(path_, caption + " " + std::to_string(number));
    }
    if (widget.grab().save(PathToQt(name), "PNG")) {
      log_ << "saved " << name << "\n";
    } else {
      log_ << "could not save " << name << "\n";
      ok_ = false;
    }
  }

  bool Ok() const { return ok_; }

 private:
  const std::string& path_;
  std::ostream& log_;
  std::set<std::string> saved_;
  bool ok_ = true;
};

}  // namespace

std::string ScreenshotName(const std::string& path, const std::string& caption) {
  std::string tag;
  for (char c : PlainCaption(caption)) {
    const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    if (kept) {
      tag += c;
    } else if (!tag.empty() && tag.back() != '_') {
      tag += '_';
    }
  }
  while (!tag.empty() && tag.back() == '_') tag.pop_back();
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  return stem + "-" + tag + (hasExtension ? path.substr(dot) : ".png");
}

bool SaveScreenshots(Desktop& desktop, const std::string& path, std::ostream& log) {
  Saver saver(path, log);
  MainWindow& window = desktop.window;
  saver.Save(window, "");
  // Each tab of the workbench in the window, then back to the first.
  Workbench& tabs = window.Tabs();
  for (int tab = 0; tab < tabs.count(); ++tab) {
    tabs.setCurrentIndex(tab);
    saver.Save(window, "tab " + FromQt(tabs.tabText(tab)));
  }
  tabs.setCurrentIndex(0);

  QMenuBar* bar = window.menuBar();
  for (QAction* action : bar->actions()) {
    QMenu* menu = action->menu();
    if (!menu) continue;
    menu->popup(bar->mapToGlobal(bar->actionGeometry(action).bottomLeft()));
    saver.Save(*menu, "menu " + FromQt(action->text()));
    menu->hide();
  }

  for (ModalDialog* dialog : desktop.program.dialogs.All()) {
    // Path fields show their Browse… button as in the program; nothing here presses it.
    FormDialog shown(dialog->form, &window, [](const FileDialogOptions&, bool, QWidget*) { return std::nullopt; });
    shown.show();
    saver.Save(shown, dialog->form.Caption());
    shown.reject();
  }

  // The Group Manager on the program's lists as they stand (empty before a file is loaded).
  TGrpManDlg& groupManager = desktop.program.dialogs.groupManager;
  groupManager.Open(desktop.program);
  {
    GroupManagerWindow shown(groupManager, &window);
    shown.show();
    saver.Save(shown, "Group Manager");
    shown.reject();
  }
  groupManager.CancelBtnClick();

  // The picture windows as they would open now.
  desktop.pictures.ShowTreeViewer(desktop.program);
  Settle(*desktop.pictures.TreeViewer());
  saver.Save(*desktop.pictures.TreeViewer(), "Tree Viewer");
  desktop.pictures.TreeViewer()->hide();
  desktop.pictures.ShowPcoaPlot(desktop.program);
  Settle(*desktop.pictures.PcoaPlot());
  saver.Save(*desktop.pictures.PcoaPlot(), "PCoA Plot");
  desktop.pictures.PcoaPlot()->hide();

  // A message box as commands show it: the About box.
  desktop.host.SetResponder([&saver](QDialog& box) {
    box.show();
    saver.Save(box, "box " + FromQt(box.windowTitle()));
    box.reject();
    return static_cast<int>(QDialog::Rejected);
  });
  if (const MenuItem* about = FindByHandler(desktop.program.menu, "About1Click")) window.RunCommand(MenuItem(*about));
  desktop.host.SetResponder({});
  return saver.Ok();
}

}  // namespace vorn::ui
