// The main window: the menu bar against the menu table, commands run from the menu with the
// windows they open answered by a responder, the status lines, the log caption and the group
// submenu, the busy cursor, repainting during long commands, closing, and the screenshot hook.
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/progress.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"
#include "ui/desktop.h"
#include "ui/form_dialog.h"
#include "ui/qt_text.h"
#include "ui/screenshots.h"

using namespace vorn;
using namespace vorn::ui;
using vorn::testing::ActionAt;
using vorn::testing::Press;

namespace {

const QString kExample = QStringLiteral(VORN_SOURCE_DIR "/examples/sedge_aflp.txt");

QStringList StatusTexts(MainWindow& window) {
  QStringList texts;
  for (int i = 1; i <= 6; ++i) texts << window.findChild<QLabel*>(QStringLiteral("statusLine%1").arg(i))->text();
  return texts;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir = std::make_unique<testing::TempDir>();
    dir->Enter();
    desktop = std::make_unique<Desktop>();
    desktop->program.Start(1);
    desktop->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop->window));
  }

  void cleanup() {
    desktop.reset();
    dir.reset();
  }

  void theWindowHasItsCaptionAndSixStatusLines() {
    QCOMPARE(desktop->window.windowTitle(), QStringLiteral("Vorn - Marbleton 1.10 beta"));
    const QStringList lines = StatusTexts(desktop->window);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Welcome to Vorn 1.1 beta. Please report any problems you might experience."));
    for (int i = 1; i < 6; ++i) QCOMPARE(lines[i], QString());  // placeholders stay blank
  }

  void theMenuBarShowsTheMenuTable() {
    QMenuBar* bar = desktop->window.menuBar();
    CompareMenu(bar->actions(), desktop->program.menu);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(bar->actions().first()->text(), QStringLiteral("&File"));
    QCOMPARE(bar->actions().last()->text(), QStringLiteral("&Help"));
    QVERIFY(ActionAt(bar, {"&File", "Select File &Names", "Select Consensus Tree Input File"}));
    QVERIFY(ActionAt(bar, {"&File", "&Export", "Hic&kory (Nexus)"}));
    QVERIFY(ActionAt(bar, {"&DataMatrix", "Remove &Loci...", "With mo&re Missing Data than Presences"}));
    QVERIFY(ActionAt(bar, {"&DataMatrix", "Select Group &Only", "AllData"}));
    QVERIFY(ActionAt(bar, {"&Replicate Analyses", "Bootstrap Shannon's &Variance (SH+RMD)"}));
    QVERIFY(ActionAt(bar, {"&Options", "Similarity &Coefficient Selection"}));
  }

  // Every command of the menu runs from its action, each window it opens answered with Cancel
  // or No, and the window is usable afterwards.
  void everyMenuCommandRunsFromItsAction() {
    QStringList titles;
    desktop->host.SetResponder([&titles](QDialog& dialog) {
      titles << dialog.windowTitle();
      dialog.show();
      if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        box->button(box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok)->click();
        return box->result();
      }
      dialog.reject();
      return dialog.result();
    });
    std::vector<QStringList> paths;
    CommandPaths(desktop->program.menu, {}, paths);
    QVERIFY(paths.size() > 50);
    for (const QStringList& path : paths) {
      if (path.last() == "E&xit") continue;
      QAction* action = ActionAt(desktop->window.menuBar(), path);
      QVERIFY2(action, qPrintable(path.join(" > ")));
      action->trigger();
    }
    QVERIFY(!titles.isEmpty());
    QVERIFY(!desktop->window.CommandRunning());
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void loadingThroughTheMenuShowsLoadingFile() {
    QStringList shown;
    QStringList filters;
    desktop->host.SetResponder([&](QDialog& dialog) {
      shown << dialog.windowTitle();
      if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        filters = files->nameFilters();
        files->selectFile(kExample);
        static_cast<QDialog*>(files)->accept();  // as the Open button does
        return files->result();
      }
      return Press(dialog, QDialogButtonBox::Ok);
    });
    ActionAt(desktop->window.menuBar(), {"&File", "&Load"})->trigger();

    QVERIFY(shown.contains("File Parameter Selection"));
    QCOMPARE(filters, QStringList({"Text Files (*.txt)", "All Files (*)"}));
    QVERIFY(desktop->program.ws.dataLoaded);
    QCOMPARE(desktop->program.ws.data.individualCount, 30);
    QCOMPARE(desktop->program.ws.data.locusCount, 60);
    QCOMPARE(StatusTexts(desktop->window)[1], "Loading File: " + kExample);
  }

  void theLogCaptionTogglesInTheMenu() {
    QMenuBar* bar = desktop->window.menuBar();
    ActionAt(bar, {"&File", "&Turn log on"})->trigger();
    QVERIFY(!ActionAt(bar, {"&File", "&Turn log on"}));
    QAction* off = ActionAt(bar, {"&File", "Turn log off"});
    QVERIFY(off);
    QCOMPARE(bar->actions().first()->menu()->actions().indexOf(off), 4);  // in its place
    QVERIFY(StatusTexts(desktop->window)[1].startsWith("Started Logging on "));

    off->trigger();
    QVERIFY(ActionAt(bar, {"&File", "&Turn log on"}));
    QVERIFY(StatusTexts(desktop->window)[2].startsWith("Stopped Logging on "));
    const std::string log = testing::ReadFile("vornlog.txt");
    QVERIFY(log.rfind("Started Logging on ", 0) == 0);
  }

  void theGroupSubmenuIsRebuiltWhenTheTableChanges() {
    desktop->program.RebuildGroupMenu({"AllData", "Pop A", "Pop \xC5/B&C"});
    QAction* submenu = ActionAt(desktop->window.menuBar(), {"&DataMatrix", "Select Group &Only"});
    QVERIFY(submenu && submenu->menu());
    QStringList captions;
    for (QAction* action : submenu->menu()->actions()) captions << action->text();
    QCOMPARE(captions, QStringList({"AllData", "Pop A", QStringLiteral("Pop Å/B&&C")}));

    desktop->program.RebuildGroupMenu({"AllData"});
    submenu = ActionAt(desktop->window.menuBar(), {"&DataMatrix", "Select Group &Only"});
    QCOMPARE(submenu->menu()->actions().size(), 1);
  }

  void sevenReportsLeaveTheLastSix() {
    for (int i = 2; i <= 7; ++i) desktop->program.Report("line " + std::to_string(i));
    QCOMPARE(StatusTexts(desktop->window),
             QStringList({"line 2", "line 3", "line 4", "line 5", "line 6", "line 7"}));
    desktop->program.Report("Dice; S\xF8rensen");
    QCOMPARE(StatusTexts(desktop->window).last(), QStringLiteral("Dice; Sørensen"));
  }

  // A command runs under the busy cursor; a box it shows has the normal one.
  void commandsRunUnderTheBusyCursor() {
    Qt::CursorShape inBox = Qt::BlankCursor;
    Qt::CursorShape underBox = Qt::BlankCursor;
    bool runningMeanwhile = false;
    desktop->host.SetResponder([&](QDialog& dialog) {
      inBox = QGuiApplication::overrideCursor()->shape();
      QGuiApplication::restoreOverrideCursor();
      underBox = QGuiApplication::overrideCursor()->shape();
      QGuiApplication::setOverrideCursor(QCursor(inBox));
      runningMeanwhile = desktop->window.CommandRunning();
      dialog.show();
      static_cast<QMessageBox&>(dialog).button(QMessageBox::Ok)->click();
      return dialog.result();
    });
    ActionAt(desktop->window.menuBar(), {"&Help", "&About"})->trigger();
    QCOMPARE(inBox, Qt::ArrowCursor);
    QCOMPARE(underBox, Qt::WaitCursor);
    QVERIFY(runningMeanwhile);
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  // KeepResponsive() inside a long command lets the window process its pending events.
  void longCommandsKeepTheWindowPainting() {
    bool delivered = false;
    QMetaObject::invokeMethod(qApp, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    QTest::qSleep(60);
    KeepResponsive();
    QVERIFY(delivered);
  }

  void closingTheWindowSaysGoodbyeAndCloses() {
    desktop->window.close();
    QVERIFY(desktop->window.isVisible());  // the farewell is said first
    QCOMPARE(StatusTexts(desktop->window)[1], QStringLiteral("Exiting program. Bye bye!"));
    QTRY_VERIFY(!desktop->window.isVisible());
  }

  void theScreenshotHookSavesTheWindowMenusAndDialogs() {
    std::ostringstream log;
    QVERIFY(SaveScreenshots(*desktop, dir->File("shot.png"), log));
    for (const char* name : {"shot.png", "shot-menu_File.png", "shot-File_Parameter_Selection.png",
                             "shot-Question.png", "shot-Group_Manager.png", "shot-box_About_this_program.png",
                             "shot-Tree_Viewer.png", "shot-PCoA_Plot.png"}) {
      const QImage image(QString::fromStdString(dir->File(name)));
      QVERIFY2(!image.isNull(), name);
      QVERIFY(image.width() > 100 && image.height() > 40);
    }
    // One file per picture: none overwrites another.
    const QStringList files = QDir(QString::fromStdString(dir->Path().string())).entryList({"shot*.png"});
    const qsizetype pictures = 1 + desktop->window.menuBar()->actions().size() +
                               static_cast<qsizetype>(desktop->program.dialogs.All().size()) + 1 + 1 + 2 +  // + Group Manager, About, the picture windows
                               desktop->window.Tabs().count();
    QCOMPARE(files.size(), pictures);
    QCOMPARE(ScreenshotName("out/a.b/shot", "Consensus & R-support Options"),
             std::string("out/a.b/shot-Consensus_R-support_Options.png"));
    QCOMPARE(ScreenshotName("shot.png", "Shannon's index scaling preferences"),
             std::string("shot-Shannon_s_index_scaling_preferences.png"));
  }

 private:
  void CompareMenu(QList<QAction*> actions, const std::vector<MenuItem>& items) {
    // The window's own items (File > Recent Files) are no part of the table.
    actions.removeIf([](QAction* action) { return action->property("windowOwn").toBool(); });
    QCOMPARE(actions.size(), static_cast<qsizetype>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
      QAction* action = actions[static_cast<qsizetype>(i)];
      QCOMPARE(action->isSeparator(), items[i].IsSeparator());
      if (items[i].IsSeparator()) continue;
      QCOMPARE(action->text(), ToQt(items[i].caption));
      QCOMPARE(action->menu() != nullptr, items[i].IsSubmenu());
      if (action->menu()) CompareMenu(action->menu()->actions(), items[i].items);
      if (QTest::currentTestFailed()) return;
    }
  }

  // The caption paths of every command, collected before any of them changes the menu.
  static void CommandPaths(const std::vector<MenuItem>& items, const QStringList& prefix, std::vector<QStringList>& paths) {
    for (const MenuItem& item : items) {
      if (item.IsSeparator()) continue;
      const QStringList path = prefix + QStringList{ToQt(item.caption)};
      if (item.IsSubmenu()) {
        CommandPaths(item.items, path, paths);
      } else {
        paths.push_back(path);
      }
    }
  }

  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Desktop> desktop;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
