// The window's desktop habits, offscreen: Undo and Redo named and greyed, Copy and Paste greyed
// without a selection, a table on the clipboard as a new matrix, Browse… beside path fields,
// imports among the recent files run again with their settings, and the keyboard walk: distinct
// accelerators in every menu and tab, every dialog's controls reached by Tab, Enter for OK and
// Escape for Cancel.
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "script/script_runner.h"
#include "support/gui_helpers.h"
#include "support/temp_dir.h"
#include "ui/data_tab.h"
#include "ui/desktop.h"
#include "ui/form_dialog.h"
#include "ui/menu_builder.h"

using namespace vorn;
using namespace vorn::ui;
using vorn::testing::ActionAt;

namespace {

const std::string kExample = VORN_SOURCE_DIR "/examples/sedge_aflp.txt";
const std::string kTable = VORN_SOURCE_DIR "/examples/meadow_table.csv";

// The accelerator letter of a caption, lower case; 0 for none.
QChar Accelerator(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toLower();
    ++i;
  }
  return QChar();
}

}  // namespace

class DesktopHabitsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir = std::make_unique<testing::TempDir>();
    dir->Enter();
    desktop = std::make_unique<Desktop>(dir->File("vorn.ini"));
    desktop->Start(1);
    // A form dialog is answered by onDialog (OK without it), a file dialog chooses chosenFile.
    desktop->host.SetResponder([this](QDialog& dialog) {
      if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        files->selectFile(QString::fromStdString(chosenFile));
        static_cast<QDialog*>(files)->accept();
        return files->result();
      }
      if (auto* box = qobject_cast<QMessageBox*>(&dialog)) boxes << box->text();
      if (auto* form = dynamic_cast<FormDialog*>(&dialog); form && onDialog) return onDialog(*form);
      dialog.accept();
      return int(QDialog::Accepted);
    });
    desktop->window.show();
    QVERIFY(QTest::qWaitForWindowActive(&desktop->window));
  }

  void cleanup() {
    onDialog = nullptr;
    boxes.clear();
    desktop.reset();
    dir.reset();
  }

  QAction* Action(const char* handler) { return ActionOf(*desktop->window.menuBar(), handler); }
  void SelectCell(int row, int column) {
    QTableView& view = desktop->window.Tabs().Data().View();
    view.setCurrentIndex(view.model()->index(row, column));
  }

  // A command may draw the menus anew: each action is looked up when it is wanted.
  void undoAndRedoNameTheirStepAndAreGreyedWithoutOne() {
    desktop->window.LoadFile(kExample);
    QVERIFY(!Action("Undo1Click")->isEnabled() && !Action("Redo1Click")->isEnabled());
    QCOMPARE(Action("Undo1Click")->text(), QStringLiteral("&Undo"));
    SelectCell(0, 0);
    QTest::keyClick(&desktop->window.Tabs().Data().View(), Qt::Key_1);
    QVERIFY(Action("Undo1Click")->isEnabled() && !Action("Redo1Click")->isEnabled());
    QCOMPARE(Action("Undo1Click")->text(), QStringLiteral("&Undo Set Scores"));
    Action("Undo1Click")->trigger();
    QCOMPARE(Action("Redo1Click")->text(), QStringLiteral("&Redo Set Scores"));
    QVERIFY(!Action("Undo1Click")->isEnabled() && Action("Redo1Click")->isEnabled());
    Action("Redo1Click")->trigger();
    desktop->window.RunCommand(*FindByHandler(desktop->program.menu, "RestoreOriginalMatrix1Click"));
    QCOMPARE(Action("Undo1Click")->text(), QStringLiteral("&Undo Restore Original Matrix"));
    QVERIFY(!Action("Redo1Click")->isEnabled());
  }

  void copyAndPasteAreGreyedWithoutASelection() {
    QVERIFY(!ActionAt(desktop->window.menuBar(), {"&Edit", "&Copy"})->isEnabled());
    desktop->window.LoadFile(kExample);
    QTableView& view = desktop->window.Tabs().Data().View();
    view.selectionModel()->clear();
    QAction* copy = ActionAt(desktop->window.menuBar(), {"&Edit", "&Copy"});
    QAction* paste = ActionAt(desktop->window.menuBar(), {"&Edit", "&Paste"});
    QVERIFY(!copy->isEnabled() && !paste->isEnabled());
    QApplication::clipboard()->clear();
    SelectCell(2, 3);
    QVERIFY(copy->isEnabled() && !paste->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("1"));
    QVERIFY(paste->isEnabled());
  }

  // Copied cells pasted as a new matrix: the CSV / TSV import's dialog, with its separator detected.
  void aTableOnTheClipboardBecomesTheMatrixAndItsSessionReplays() {
    QApplication::clipboard()->setText(QStringLiteral("\tL1\tL2\tL3\nA\t1\t0\t1\nB\t0\t1\t?\n"));
    QStringList shown;
    onDialog = [&](FormDialog& form) {
      shown << form.windowTitle() + ": " + form.findChild<QLabel*>("counts")->text();
      form.accept();
      return int(QDialog::Accepted);
    };
    QTest::keyClick(&desktop->window, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown, QStringList{"Import CSV / TSV Table: Separator: tab (detected); 2 individuals, 3 loci"});
    const DataMatrix& data = desktop->program.ws.data;
    QCOMPARE(data.individualCount, 2);
    QCOMPARE(data.At(1, 2), Missing);
    QVERIFY(desktop->program.recentFiles.Files().empty());
    const std::string script = desktop->recorder.Script(1);
    QVERIFY2(script.find("File > New Matrix from Clipboard\n    clipboard text: \"\\tL1\\tL2\\tL3\\nA\\t1\\t0\\t1\\nB\\t0\\t1\\t?\\n\"\n"
                         "    Import CSV / TSV Table: separator=detect,") != std::string::npos,
             script.c_str());
    dir->Write("session.vorn", script + "File > Save DataMatrix\n    file: replayed.txt\n");
    std::ostringstream transcript, errors;
    ScriptOptions options;
    options.path = dir->File("session.vorn");
    QCOMPARE(RunScript(options, transcript, errors), 0);
    const std::string replayed = testing::ReadFile(dir->File("replayed.txt"));
    QVERIFY2(replayed.find("1 0 \r\n0 1 \r\n1 ? \r\n") != std::string::npos, (replayed + transcript.str()).c_str());

    QApplication::clipboard()->clear();
    QTest::keyClick(&desktop->window, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].startsWith("The clipboard holds no text."));
    QCOMPARE(data.individualCount, 2);
  }

  // Support on Tree has three path fields; Browse… opens the file dialog over the dialog.
  void browseBesideAPathFieldPutsTheChosenFileInIt() {
    desktop->window.LoadFile(kExample);
    chosenFile = dir->File("replicates.ph");
    dir->Write("replicates.ph", "(a,b);\n");
    QString reference;
    qsizetype buttons = 0;
    onDialog = [&](FormDialog& form) {
      buttons = form.findChildren<QPushButton*>(QRegularExpression("\\.browse$")).size();
      QTest::mouseClick(form.findChild<QPushButton*>("replicates.browse"), Qt::LeftButton);
      reference = form.findChild<QLineEdit*>("replicates")->text();
      form.reject();
      return int(QDialog::Rejected);
    };
    desktop->window.RunCommand(*FindByHandler(desktop->program.menu, "SupportonTree1Click"));
    QCOMPARE(buttons, 3);
    QCOMPARE(reference, QString::fromStdString(chosenFile));
    QCOMPARE(desktop->program.dialogs.support.form["replicates"].text, chosenFile);
  }

  void importsJoinTheRecentFilesAndRunAgainWithTheirSettings() {
    QString groups;
    onDialog = [&](FormDialog& form) {
      if (form.windowTitle() == "Import CSV / TSV Table") {
        groups = form.findChild<QLineEdit*>("group_columns")->text();
        if (groups.isEmpty()) form.findChild<QLineEdit*>("group_columns")->setText("2 3");
      }
      form.accept();
      return int(QDialog::Accepted);
    };
    desktop->window.OpenFile(kTable);
    QCOMPARE(desktop->program.ws.groups.groups.size(), std::size_t{1 + 5});
    desktop->window.LoadFile(kExample);
    emit desktop->window.RecentFilesMenu()->aboutToShow();
    QList<QAction*> entries = desktop->window.RecentFilesMenu()->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[1]->text(), "&2 " + QString::fromStdString(kTable) + " (Import CSV / TSV Table)");
    QVERIFY(entries[1]->toolTip().contains("group_columns=2 3"));
    desktop->program.dialogs.importTable.form["group_columns"].text = "";
    groups.clear();
    entries[1]->trigger();
    QCOMPARE(groups, QStringLiteral("2 3"));
    QCOMPARE(desktop->program.ws.filterLog.source, kTable);
    // Kept in the settings file with the import and its values.
    const RecentFiles kept = DesktopSettings(dir->File("vorn.ini")).Recent();
    QCOMPARE(kept.Files().size(), std::size_t{2});
    QCOMPARE(kept.Files()[0].handler, std::string("ImportCsvTable1Click"));
    QVERIFY(kept.Files()[0].settings.find("group_columns=2 3") != std::string::npos);
  }

  // Within a menu no two entries share an accelerator, except two captions fixed long ago
  // ("Restore &Original Matrix", "Select Group &Only"); a menu bar letter opens its menu
  // whichever tab is shown, as no control of a tab takes one.
  void noAcceleratorIsTakenTwiceInAMenuOrATab() {
    desktop->window.LoadFile(kExample);
    QMenuBar* bar = desktop->window.menuBar();
    std::set<QChar> barLetters;
    for (QAction* top : bar->actions()) QVERIFY2(barLetters.insert(Accelerator(top->text())).second, qPrintable(top->text()));
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
      std::map<QChar, QStringList> taken;
      for (QAction* action : menu->actions()) {
        if (action->menu()) walk(action->menu());
        if (const QChar letter = Accelerator(action->text()); !letter.isNull()) taken[letter] << action->text();
      }
      for (const auto& [letter, captions] : taken) {
        const bool fixed = captions == QStringList{"Restore &Original Matrix", "Select Group &Only"};
        QVERIFY2(captions.size() == 1 || fixed, qPrintable(captions.join(", ")));
      }
    };
    for (QAction* top : bar->actions()) walk(top->menu());

    Workbench& tabs = desktop->window.Tabs();
    for (int i = 0; i < tabs.count(); ++i) {
      std::map<QChar, QString> taken;
      // A caption shown on each of a tab's pages (Open Folder) counts once.
      std::set<QString> captions;
      for (auto* button : tabs.widget(i)->findChildren<QAbstractButton*>()) captions.insert(button->text());
      for (auto* label : tabs.widget(i)->findChildren<QLabel*>()) {
        if (label->buddy()) captions.insert(label->text());
      }
      for (auto* bar : tabs.widget(i)->findChildren<QTabBar*>()) {
        for (int tab = 0; tab < bar->count(); ++tab) captions.insert(bar->tabText(tab));
      }
      for (const QString& caption : captions) {
        const QChar letter = Accelerator(caption);
        if (letter.isNull()) continue;
        QVERIFY2(!barLetters.count(letter), qPrintable(tabs.tabText(i) + ": " + caption));
        QVERIFY2(taken.emplace(letter, caption).second, qPrintable(tabs.tabText(i) + ": " + caption + ", " + taken[letter]));
      }
    }
  }

  // Tab from the first control reaches every shown control, each Browse… after its field, then OK
  // and Cancel; Enter is OK and Escape Cancel.
  void everyDialogIsWorkedByTheKeyboard() {
    for (ModalDialog* modal : desktop->program.dialogs.All()) {
      const QString caption = QString::fromStdString(modal->form.Caption());
      std::set<QWidget*> reached;
      {
        FormDialog dialog(modal->form, nullptr, [](const FileDialogOptions&, bool, QWidget*) { return std::nullopt; });
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY2(dialog.isAncestorOf(QApplication::focusWidget()), qPrintable(caption));
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY2(ok->isDefault(), qPrintable(caption));
        for (int press = 0; press < 200; ++press) {
          reached.insert(QApplication::focusWidget());
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
          const bool control = qobject_cast<QLineEdit*>(widget) || qobject_cast<QCheckBox*>(widget) ||
                               qobject_cast<QComboBox*>(widget) || qobject_cast<QListWidget*>(widget) ||
                               (qobject_cast<QPushButton*>(widget) && widget->objectName().endsWith(".browse"));
          if (control && widget->isVisibleTo(&dialog) && widget->isEnabled() && !widget->parent()->inherits("QComboBox")) {
            QVERIFY2(reached.count(widget), qPrintable(caption + ": " + widget->objectName()));
          }
        }
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
          const auto radios = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
          bool any = radios.isEmpty() || !group->isVisibleTo(&dialog);
          for (QRadioButton* radio : radios) any |= reached.count(radio) > 0;
          QVERIFY2(any, qPrintable(caption + ": " + group->title()));
        }
        QVERIFY2(reached.count(ok), qPrintable(caption));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
      }
      FormDialog again(modal->form);
      again.show();
      again.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&again));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QVERIFY2(again.result() == QDialog::Accepted, qPrintable(caption));
    }
  }

  // Shift+F10 opens the grid's context menu, whose entries each have their own accelerator.
  void theGridsContextMenuOpensFromTheKeyboard() {
    desktop->window.LoadFile(kExample);
    QTableView& view = desktop->window.Tabs().Data().View();
    SelectCell(0, 0);
    view.setFocus();
    QStringList entries;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) entries << action->text();
      }
      menu->close();
    });
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(entries, (QStringList{"Set to 1 (p&resence)", "Set to 0 (&absence)", "Set to ? (&missing)", "&Copy", "&Paste",
                                   "Rename &Individual Ka01...", "Rename &Locus Locus1..."}));
  }

 private:
  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Desktop> desktop;
  std::function<int(FormDialog&)> onDialog;
  QStringList boxes;
  std::string chosenFile;
};

QTEST_MAIN(DesktopHabitsTest)
#include "desktop_habits_test.moc"
