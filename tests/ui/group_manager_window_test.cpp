// The Group Manager window worked with the mouse and keyboard: groups built from picked members
// appear under "Select Group Only", locus sets from ticked loci become the working loci, Cancel
// leaves everything as it was, and the handlers' boxes show over the window. With
// VORN_SCREENSHOT_DIR set, the window is also saved there as group-manager.png.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "support/gui_helpers.h"
#include "support/temp_dir.h"
#include "ui/desktop.h"
#include "ui/group_manager_window.h"
#include "ui/qt_text.h"

using namespace vorn;
using namespace vorn::ui;
using vorn::testing::ActionAt;
using vorn::testing::Press;

namespace {

const char* const kData = "a1 a2 a3 b1 b2 b3\n1 0 1 0 1 0\n0 1 1 0 0 1\n1 ? 0 1 0 1\n0 0 0 1 1 1\n*\n";

template <typename T>
T* Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QLatin1String(name));
  if (!child) qFatal("no widget %s", name);
  return child;
}

void Click(QWidget& window, const char* name) { QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton); }

// Selects exactly the named entries of a list, as clicks with Ctrl would.
void Select(QWidget& window, const char* list, const QStringList& names) {
  auto* widget = Child<QListWidget>(window, list);
  for (int i = 0; i < widget->count(); ++i) widget->item(i)->setSelected(names.contains(widget->item(i)->text()));
}

void Type(QWidget& window, const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(window, field);
  edit->clear();
  QTest::keyClicks(edit, text);
}

void Choose(QWidget& window, const char* comboName, const QString& item) {
  auto* combo = Child<QComboBox>(window, comboName);
  const int index = combo->findText(item);
  QVERIFY(index >= 0);
  combo->setCurrentIndex(index);
  emit combo->activated(index);  // as a choice with the mouse
}

void AddGroup(QWidget& window, const QStringList& members, const QString& name) {
  Select(window, "members", members);
  Click(window, "pick");
  Type(window, "name", name);
  Click(window, "accept");
}

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

}  // namespace

class GroupManagerWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir = std::make_unique<testing::TempDir>();
    dir->Enter();
    dir->Write("data.txt", kData);
    desktop = std::make_unique<Desktop>();
    desktop->program.Start(1);
    desktop->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop->window));
    desktop->host.SetResponder([](QDialog& dialog) {
      if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        files->selectFile(QStringLiteral("data.txt"));
        static_cast<QDialog*>(files)->accept();
        return files->result();
      }
      dialog.show();
      return Press(dialog, QDialogButtonBox::Ok);
    });
    ActionAt(desktop->window.menuBar(), {"&File", "&Load"})->trigger();
    QVERIFY(desktop->program.ws.dataLoaded);
  }

  void cleanup() {
    desktop.reset();
    dir.reset();
  }

  void twoGroupsAppearUnderSelectGroupOnly() {
    Manage([](QDialog& window) {
      AddGroup(window, {"a3", "a1", "a2"}, "North");
      AddGroup(window, {"b1", "b3"}, "South");
      QCOMPARE(Items(Child<QComboBox>(window, "groups")), QStringList({"AllData", "AllData/North", "AllData/South"}));
      QCOMPARE(Child<QLabel>(window, "pickedCount")->text(), QStringLiteral("n= 0"));
    });
    QAction* submenu = ActionAt(desktop->window.menuBar(), {"&DataMatrix", "Select Group &Only"});
    QVERIFY(submenu && submenu->menu());
    QStringList captions;
    for (QAction* action : submenu->menu()->actions()) captions << action->text();
    QCOMPARE(captions, QStringList({"AllData", "AllData/North", "AllData/South"}));

    ActionAt(desktop->window.menuBar(), {"&DataMatrix", "Select Group &Only", "AllData/South"})->trigger();
    QCOMPARE(desktop->program.ws.data.individualLabels.All(), (std::vector<std::string>{"b1", "b3"}));
    const StatusHistory& status = desktop->program.ws.status;
    QVERIFY(std::find(status.Lines().begin(), status.Lines().end(), "Group selected: AllData/South") !=
            status.Lines().end());
  }

  void theWindowShowsTheCurrentGroupAndCounts() {
    Manage([](QDialog& window) {
      QCOMPARE(window.windowTitle(), QStringLiteral("Group Manager"));
      QCOMPARE(Child<QLabel>(window, "dataSetName")->text(), QStringLiteral("AllData"));
      QCOMPARE(Child<QLabel>(window, "dataSetCount")->text(), QStringLiteral("n= 6"));
      QCOMPARE(Child<QListWidget>(window, "members")->count(), 6);
      AddGroup(window, {"a1", "a2"}, "A");
      Choose(window, "groups", "AllData/A");
      QCOMPARE(Child<QLabel>(window, "dataSetName")->text(), QStringLiteral("AllData/A"));
      QCOMPARE(Child<QLabel>(window, "dataSetCount")->text(), QStringLiteral("n= 2"));
      Select(window, "members", {"a2"});
      Click(window, "pick");
      Click(window, "pick");
      QCOMPARE(Child<QListWidget>(window, "picked")->count(), 2);
      QCOMPARE(Child<QLabel>(window, "pickedCount")->text(), QStringLiteral("n= 2"));
      Select(window, "picked", {"a2"});
      Click(window, "unpick");
      QCOMPARE(Child<QListWidget>(window, "picked")->count(), 0);
      QTest::mouseClick(Child<QCheckBox>(window, "fullPath"), Qt::LeftButton, {}, QPoint(4, 4));
      QCOMPARE(Child<QLabel>(window, "dataSetName")->text(), QStringLiteral("A"));
      QCOMPARE(Items(Child<QComboBox>(window, "groups")), QStringList({"AllData", "A"}));
    });
    QCOMPARE(desktop->program.ws.groups.showFullPath, false);
  }

  void theHandlersBoxesShowOverTheWindow() {
    QStringList boxes;
    Manage(
        [](QDialog& window) {
          AddGroup(window, {"a1"}, "Sub 1;");
          QCOMPARE(Items(Child<QComboBox>(window, "groups")), QStringList({"AllData", "AllData/Sub1"}));
          AddGroup(window, {"a2"}, "Sub1");
          QCOMPARE(Child<QLineEdit>(window, "name")->text(), QStringLiteral("Sub1"));
          Click(window, "delete");
        },
        QDialogButtonBox::Cancel, &boxes);
    QCOMPARE(boxes, QStringList({"Proposed group name already exits",
                                 "\"AllData\" cannot be deleted from the Group Manager, because\nit is not a sub-set of "
                                 "your data-set, but the entire current data-set."}));
  }

  void cancelLeavesEverythingAsItWas() {
    Manage([](QDialog& window) { AddGroup(window, {"a1", "b1"}, "Kept"); });
    const GroupList groups = desktop->program.ws.groups.groups;
    Manage(
        [](QDialog& window) {
          AddGroup(window, {"a2"}, "Dropped");
          QTest::mouseClick(Child<QCheckBox>(window, "fullPath"), Qt::LeftButton, {}, QPoint(4, 4));
        },
        QDialogButtonBox::Cancel);
    QVERIFY(desktop->program.ws.groups.groups == groups);
    QVERIFY(desktop->program.ws.groups.showFullPath);
    QCOMPARE(ActionAt(desktop->window.menuBar(), {"&DataMatrix", "Select Group &Only"})->menu()->actions().size(), 2);
  }

  void aLocusSetOfTickedLociBecomesTheWorkingLoci() {
    Manage([](QDialog& window) {
      Click(window, "unselectAll");
      QCOMPARE(Child<QLabel>(window, "locusCount")->text(), QStringLiteral("n= 0"));
      auto* loci = Child<QListWidget>(window, "loci");
      loci->item(1)->setCheckState(Qt::Checked);
      loci->item(3)->setCheckState(Qt::Checked);
      QCOMPARE(Child<QLabel>(window, "locusCount")->text(), QStringLiteral("n= 2"));
      Type(window, "locusSetNameField", "Even");
      Click(window, "add");
      QCOMPARE(Items(Child<QComboBox>(window, "locusSets")), QStringList({"AllLoci", "Even"}));
      Choose(window, "locusSets", "Even");
      QCOMPARE(Child<QLabel>(window, "locusSetName")->text(), QStringLiteral("Even"));
      Click(window, "selectCurrent");
    });
    QCOMPARE(desktop->program.ws.groups.activeLocusSet, 1);
    QCOMPARE(desktop->program.ws.data.locusLabels.All(), (std::vector<std::string>{"Locus2", "Locus4"}));
  }

  void aChosenDataSetKeepsTheTypedNameAndLocusSetsOpenOnAllLoci() {
    Manage([](QDialog& window) {
      AddGroup(window, {"a1", "a2"}, "A");
      Type(window, "name", "Sub");
      Choose(window, "groups", "AllData/A");
      QCOMPARE(Child<QLabel>(window, "dataSetName")->text(), QStringLiteral("AllData/A"));
      QCOMPARE(Child<QLineEdit>(window, "name")->text(), QStringLiteral("Sub"));
      Click(window, "unselectAll");
      Child<QListWidget>(window, "loci")->item(0)->setCheckState(Qt::Checked);
      Type(window, "locusSetNameField", "First");
      Click(window, "add");
      Choose(window, "locusSets", "First");
      Click(window, "selectCurrent");
    });
    QCOMPARE(desktop->program.ws.groups.activeLocusSet, 1);
    Manage(
        [](QDialog& window) {
          // The locus set in use is named above the drop-down, which shows AllLoci.
          QCOMPARE(Child<QLabel>(window, "locusSetName")->text(), QStringLiteral("First"));
          QCOMPARE(Child<QComboBox>(window, "locusSets")->currentText(), QStringLiteral("AllLoci"));
          Choose(window, "locusSets", "AllLoci");
          QCOMPARE(Child<QLabel>(window, "locusSetName")->text(), QStringLiteral("AllLoci"));
          QCOMPARE(Child<QLabel>(window, "locusCount")->text(), QStringLiteral("n= 4"));
        },
        QDialogButtonBox::Cancel);
  }

  // The window as a user meets it, for a reviewer's eye.
  void screenshot() {
    const QByteArray folder = qgetenv("VORN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("VORN_SCREENSHOT_DIR is not set");
    Manage([&folder](QDialog& window) {
      AddGroup(window, {"a1", "a2", "a3"}, "PopA");
      Choose(window, "groups", "AllData/PopA");
      Select(window, "members", {"a1", "a3"});
      Click(window, "pick");
      Type(window, "name", "Lake");
      auto* loci = Child<QListWidget>(window, "loci");
      loci->item(2)->setCheckState(Qt::Unchecked);
      Type(window, "locusSetNameField", "Core");
      QTest::qWait(200);
      QVERIFY(window.grab().save(QString::fromLocal8Bit(folder) + "/group-manager.png", "PNG"));
    });
  }

 private:
  // Opens the Group Manager from the menu, lets work use its window, and closes it with close.
  // Message boxes shown meanwhile are acknowledged and their texts added to boxes.
  void Manage(const std::function<void(QDialog&)>& work, QDialogButtonBox::StandardButton close = QDialogButtonBox::Ok,
              QStringList* boxes = nullptr) {
    bool opened = false;
    desktop->host.SetResponder([&](QDialog& dialog) {
      dialog.show();
      if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        if (boxes) *boxes << box->text();
        box->button(QMessageBox::Ok)->click();
        return box->result();
      }
      opened = dynamic_cast<GroupManagerWindow*>(&dialog) != nullptr;
      if (!QTest::qWaitForWindowExposed(&dialog)) return static_cast<int>(QDialog::Rejected);
      work(dialog);
      return Press(dialog, close);
    });
    ActionAt(desktop->window.menuBar(), {"&DataMatrix", "&Group Manager"})->trigger();
    QVERIFY(opened);
  }

  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Desktop> desktop;
};

QTEST_MAIN(GroupManagerWindowTest)
#include "group_manager_window_test.moc"
