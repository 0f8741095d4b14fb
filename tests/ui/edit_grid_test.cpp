// The editable Data grid, offscreen: typing a symbol, copy and paste as tab-separated text with
// one bad cell refused whole, Undo from its shortcut, the unsaved mark and Exit's question, the
// shortcuts in the menus, Ctrl+F, and the result tab brought forward.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QListWidget>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sstream>
#include <set>

#include "script/script_runner.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"
#include "ui/data_tab.h"
#include "ui/desktop.h"
#include "ui/log_tab.h"
#include "ui/menu_builder.h"
#include "ui/results_tab.h"

using namespace vorn;
using namespace vorn::ui;
using vorn::testing::ActionAt;

namespace {

const std::string kExample = VORN_SOURCE_DIR "/examples/sedge_aflp.txt";

}  // namespace

class EditGridTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    boxes.clear();
    answerYes = true;
    dir = std::make_unique<testing::TempDir>();
    dir->Enter();
    desktop = std::make_unique<Desktop>();
    desktop->Start(1);
    // OK for every window; a message box's text is kept, and Yes or No answered by answerYes; a
    // save-file dialog chooses saveAs in the test's folder.
    desktop->host.SetResponder([this](QDialog& dialog) {
      if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        files->selectFile(QString::fromStdString(dir->File(saveAs)));
        static_cast<QDialog*>(files)->accept();
        return files->result();
      }
      if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        boxes << box->text();
        box->show();
        const bool question = box->standardButtons() & QMessageBox::Yes;
        box->button(question ? (answerYes ? QMessageBox::Yes : QMessageBox::No) : QMessageBox::Ok)->click();
        return box->result();
      }
      dialog.accept();
      return int(QDialog::Accepted);
    });
    desktop->window.show();
    desktop->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&desktop->window));
    desktop->window.LoadFile(kExample);
    QCOMPARE(desktop->program.ws.data.individualCount, 30);
  }

  void cleanup() {
    desktop.reset();
    dir.reset();
  }

  // Rows Ka01.., columns Locus1..: the grid as loaded (individuals in rows).
  void Select(int top, int left, int bottom, int right) {
    QTableView& view = desktop->window.Tabs().Data().View();
    view.setCurrentIndex(view.model()->index(top, left));
    view.selectionModel()->select(QItemSelection(view.model()->index(top, left), view.model()->index(bottom, right)),
                                  QItemSelectionModel::ClearAndSelect);
  }
  Cell Score(std::size_t individual, std::size_t locus) { return desktop->program.ws.data.At(individual, locus); }

  void typingASymbolSetsTheSelectionLogsItAndUndoTakesItBack() {
    QTableView& view = desktop->window.Tabs().Data().View();
    QCOMPARE(Score(0, 0), Absence);
    Select(0, 0, 1, 0);  // Ka01, Ka02 at Locus1: 0 and 1
    QTest::keyClick(&view, Qt::Key_1);
    QCOMPARE(Score(0, 0), Presence);
    QCOMPARE(Score(1, 0), Presence);
    QVERIFY(desktop->window.Tabs().Log().Text().toPlainText().contains(QString::fromUtf8("Ka01 Locus1: 0 \u2192 1")));
    QCOMPARE(desktop->window.windowTitle(), QStringLiteral("Vorn - Marbleton 1.10 beta *"));
    // The selection stays for the next key.
    QCOMPARE(view.currentIndex().row(), 0);
    QTest::keyClick(&view, Qt::Key_Question);
    QCOMPARE(Score(0, 0), Missing);
    QTest::keyClick(&desktop->window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Score(0, 0), Presence);
    QTest::keyClick(&desktop->window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Score(0, 0), Absence);
    QTest::keyClick(&view, Qt::Key_X);  // no score: nothing
    QCOMPARE(Score(0, 0), Absence);
    const std::string script = desktop->recorder.Script(1);
    QVERIFY(script.find("Edit > Set Scores\n    Set Scores: individuals=Ka01|Ka02, loci=Locus1, scores=1\n") != std::string::npos);
    QVERIFY(script.find("Edit > Undo\nEdit > Undo\n") != std::string::npos);
  }

  void copyGivesTabSeparatedTextAndPasteSetsItElsewhere() {
    QTableView& view = desktop->window.Tabs().Data().View();
    Select(0, 0, 1, 1);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("\tLocus1\tLocus2\nKa01\t0\t1\nKa02\t1\t1\n"));
    Select(10, 3, 10, 3);  // Ri01 from Locus4 on
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Score(10, 3), Absence);
    QCOMPARE(Score(10, 4), Presence);
    QCOMPARE(Score(11, 3), Presence);
    QCOMPARE(Score(11, 4), Presence);
    QVERIFY(boxes.isEmpty());
  }

  void aPasteWithOneBadCellChangesNothingAndNamesTheCell() {
    const DataMatrix before = desktop->program.ws.data;
    QApplication::clipboard()->setText(QStringLiteral("1\t0\n0\t2\n"));
    Select(2, 5, 2, 5);
    QTest::keyClick(&desktop->window.Tabs().Data().View(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(boxes, QStringList{QStringLiteral("Ka04 Locus7: '2' is not a score (1, 0 or ?)")});
    QVERIFY(desktop->program.ws.data == before);
    QCOMPARE(desktop->window.windowTitle(), QStringLiteral("Vorn - Marbleton 1.10 beta"));
  }

  void exitAsksBeforeUnsavedChangesAreLost() {
    Select(0, 0, 0, 0);
    QTest::keyClick(&desktop->window.Tabs().Data().View(), Qt::Key_1);
    answerYes = false;
    ActionAt(desktop->window.menuBar(), {"&File", "E&xit"})->trigger();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].endsWith(QStringLiteral("Exit anyway?")));
    QVERIFY(desktop->program.ws.dataLoaded);
    answerYes = true;
    ActionAt(desktop->window.menuBar(), {"&File", "E&xit"})->trigger();
    QVERIFY(!desktop->program.ws.dataLoaded);
  }

  void theMenusShowTheShortcutsAndNoneIsTakenTwice() {
    const std::pair<QStringList, QKeySequence> shortcuts[] = {
        {{"&File", "&Load"}, QKeySequence("Ctrl+O")},
        {{"&File", "&Import", "&CSV / TSV Table..."}, QKeySequence("Ctrl+Shift+O")},
        {{"&File", "New &Matrix from Clipboard..."}, QKeySequence("Ctrl+Shift+V")},
        {{"&File", "&Save DataMatrix"}, QKeySequence("Ctrl+S")},
        {{"&File", "E&xit"}, QKeySequence("Ctrl+Q")},
        {{"&Help", "&Help"}, QKeySequence("F1")},
        {{"&Edit", "&Undo"}, QKeySequence("Ctrl+Z")},
        {{"&Edit", "&Redo"}, QKeySequence("Ctrl+Shift+Z")},
        {{"&Edit", "&Copy"}, QKeySequence("Ctrl+C")},
        {{"&Edit", "&Paste"}, QKeySequence("Ctrl+V")},
    };
    for (const auto& [path, keys] : shortcuts) {
      QAction* action = ActionAt(desktop->window.menuBar(), path);
      QVERIFY2(action, qPrintable(path.join(" > ")));
      QCOMPARE(action->shortcut(), keys);
    }
    QCOMPARE(desktop->window.menuBar()->actions().at(1)->text(), QStringLiteral("&Edit"));
    std::set<QString> taken;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
      for (QAction* action : actions) {
        if (action->menu()) walk(action->menu()->actions());
        if (action->shortcut().isEmpty()) continue;
        QVERIFY2(taken.insert(action->shortcut().toString()).second, qPrintable(action->shortcut().toString()));
      }
    };
    walk(desktop->window.menuBar()->actions());
    QCOMPARE(taken.size(), std::size(shortcuts));
  }

  void ctrlFFindsANameInTheDataAndTheLogTab() {
    Workbench& tabs = desktop->window.Tabs();
    QTest::keyClick(&desktop->window, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(tabs.currentWidget(), &tabs.Data());
    QVERIFY(tabs.Data().FindField().hasFocus());
    QTest::keyClicks(&tabs.Data().FindField(), "ri03");
    QTest::keyClick(&tabs.Data().FindField(), Qt::Key_Return);
    QCOMPARE(tabs.Data().View().currentIndex().row(), 12);
    tabs.setCurrentWidget(&tabs.Log());
    QTest::keyClick(&desktop->window, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(tabs.currentWidget(), &tabs.Log());
    QVERIFY(tabs.Log().findChild<QLineEdit*>()->hasFocus());
  }

  // Three scores typed, two undone, a 4 x 4 block copied and pasted elsewhere, saved: the file
  // holds exactly the edits, and the session's script replayed writes it again byte for byte.
  void aWalkOfEditsIsSavedExactlyAndItsReplayWritesTheSameFile() {
    QTableView& view = desktop->window.Tabs().Data().View();
    const DataMatrix loaded = desktop->program.ws.data;
    const std::pair<int, Qt::Key> typed[] = {{0, Qt::Key_1}, {1, Qt::Key_0}, {2, Qt::Key_Question}};
    for (const auto& [row, key] : typed) {
      Select(row, 0, row, 0);
      QTest::keyClick(&view, key);
    }
    QTest::keyClick(&desktop->window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&desktop->window, Qt::Key_Z, Qt::ControlModifier);
    Select(0, 0, 3, 3);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().count('\n'), 5);
    Select(20, 10, 20, 10);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    const DataMatrix edited = desktop->program.ws.data;
    std::size_t changed = 0;
    for (std::size_t cell = 0; cell < edited.cells.size(); ++cell) changed += edited.cells[cell] != loaded.cells[cell];
    QVERIFY(changed >= 1 && changed <= 17);
    QCOMPARE(Score(0, 0), Presence);
    for (std::size_t i = 0; i < 4; ++i) {
      for (std::size_t l = 0; l < 4; ++l) QCOMPARE(Score(20 + i, 10 + l), edited.At(i, l));
    }

    saveAs = "edited.txt";
    QTest::keyClick(&desktop->window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(desktop->window.windowTitle(), QStringLiteral("Vorn - Marbleton 1.10 beta"));
    saveAs = "session.vorn";
    desktop->window.RunCommand(*FindByHandler(desktop->program.menu, "SaveSessionAsScript1Click"));
    desktop->window.LoadFile(dir->File("edited.txt"));
    QVERIFY(desktop->program.ws.data.cells == edited.cells);
    QVERIFY(desktop->program.ws.data.individualLabels == edited.individualLabels);

    const std::string saved = testing::ReadFile(dir->File("edited.txt"));
    std::filesystem::remove(dir->File("edited.txt"));
    testing::TempDir replay;
    replay.Enter();
    std::ostringstream transcript, errors;
    ScriptOptions options;
    options.path = dir->File("session.vorn");
    options.seed = 1;
    options.strict = true;
    QCOMPARE(RunScript(options, transcript, errors), 0);
    QVERIFY(testing::ReadFile(dir->File("edited.txt")) == saved);
  }

  void withoutDataTheStartPageOffersLoadImportAndTheRecentFiles() {
    Desktop fresh;
    fresh.Start(1);
    fresh.host.SetResponder([](QDialog& dialog) {
      dialog.accept();
      return int(QDialog::Accepted);
    });
    fresh.window.show();
    DataTab& data = fresh.window.Tabs().Data();
    QVERIFY(data.Start().isVisible());
    QVERIFY(!data.View().isVisible());
    fresh.host.AnswerNextOpenFile(kExample);
    QTest::mouseClick(data.Start().findChild<QPushButton*>(), Qt::LeftButton);
    QVERIFY(fresh.program.ws.dataLoaded);
    QVERIFY(data.View().isVisible());
    QCOMPARE(data.Start().Recent().count(), 1);
    QCOMPARE(data.Start().Recent().item(0)->text(), QString::fromStdString(kExample));
  }

  void theResultsTabComesForwardUnlessTurnedOff() {
    Workbench& tabs = desktop->window.Tabs();
    tabs.setCurrentWidget(&tabs.Data());
    desktop->window.RunCommand(*FindByHandler(desktop->program.menu, "Jaccard1Click"));
    QCOMPARE(tabs.currentWidget(), &tabs.Results());
    QAction* forward = ActionAt(desktop->window.menuBar(), {"&View", "&Bring Results Forward"});
    QVERIFY(forward && forward->isChecked());
    forward->trigger();
    tabs.setCurrentWidget(&tabs.Data());
    desktop->window.RunCommand(*FindByHandler(desktop->program.menu, "Jaccard1Click"));
    QCOMPARE(tabs.currentWidget(), &tabs.Data());
  }

 private:
  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Desktop> desktop;
  QStringList boxes;
  bool answerYes = true;
  std::string saveAs;
};

QTEST_MAIN(EditGridTest)
#include "edit_grid_test.moc"
