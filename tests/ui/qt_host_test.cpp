// The desktop host: message boxes (title, text, buttons, no icon), file dialogs (filters, title,
// folder, initial name, default extension, overwrite confirmation), settings dialogs written
// back on either button, the progress window with its Cancel button, and the date and time
// texts in the user's formats.
#include <QDialogButtonBox>
#include <algorithm>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "support/temp_dir.h"
#include "ui/file_dialogs.h"
#include "ui/qt_host.h"

using namespace vorn;
using namespace vorn::ui;

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  void yesNoBoxesHaveNoIconAndGiveTheButtonPressed() {
    QtHost host;
    for (const auto& [pressed, expected] : {std::pair{QMessageBox::Yes, MessageAnswer::Yes},
                                           std::pair{QMessageBox::No, MessageAnswer::No}}) {
      QString title, text;
      QMessageBox::StandardButtons buttons;
      QMessageBox::Icon icon = QMessageBox::Critical;
      host.SetResponder([&, pressed = pressed](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        title = box.windowTitle();
        text = box.text();
        buttons = box.standardButtons();
        icon = box.icon();
        box.show();
        box.button(pressed)->click();
        return box.result();
      });
      const MessageAnswer answer = host.ShowMessage(
          "File already exists.\r\n\r\nanalysis.txt\r\n\r\nAppend data to file rather than rewriting file?",
          "Output file exists", MessageButtons::YesNo);
      QCOMPARE(answer, expected);
      QCOMPARE(title, QStringLiteral("Output file exists"));
      QCOMPARE(text, QStringLiteral("File already exists.\n\nanalysis.txt\n\nAppend data to file rather than rewriting file?"));
      QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
      QCOMPARE(icon, QMessageBox::NoIcon);
    }
  }

  void okBoxesShowWindows1252Texts() {
    QtHost host;
    QString text;
    QMessageBox::StandardButtons buttons;
    host.SetResponder([&](QDialog& dialog) {
      auto& box = static_cast<QMessageBox&>(dialog);
      text = box.text();
      buttons = box.standardButtons();
      box.show();
      QTest::keyClick(&box, Qt::Key_Escape);
      return box.result();
    });
    QCOMPARE(host.ShowMessage("Dice; S\xF8rensen <b>", "Error", MessageButtons::Ok), MessageAnswer::Ok);
    QCOMPARE(text, QStringLiteral("Dice; Sørensen <b>"));
    QCOMPARE(buttons, QMessageBox::Ok);
  }

  void nameFiltersFollowTheProgramsFilterLists() {
    QCOMPARE(NameFilters("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
             QStringList({"Text Files (*.txt)", "All Files (*)"}));
    QCOMPARE(NameFilters("Phylip/Newick Tree File (*.ph)|*.ph"), QStringList({"Phylip/Newick Tree File (*.ph)"}));
    QCOMPARE(NameFilters("NTSYSpc Files (*.nts)|*.nts|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
             QStringList({"NTSYSpc Files (*.nts)", "Text Files (*.txt)", "All Files (*)"}));
    QCOMPARE(NameFilters("Data|*.txt;*.dat"), QStringList({"Data (*.txt *.dat)"}));
    QCOMPARE(NameFilters(""), QStringList());
  }

  void saveDialogsAreSetUpFromTheirOptions() {
    testing::TempDir dir;
    dir.Write("old.txt", "x");
    QtHost host;
    FileDialogOptions options;
    options.title = "Select Log File...";
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    options.initialFolder = dir.Path().string();
    options.initialName = "vornlog.txt";
    options.defaultExtension = "txt";
    options.confirmOverwrite = true;
    QString title, directory, suffix, initialName;
    QStringList filters;
    bool save = false, confirms = false;
    host.SetResponder([&](QDialog& dialog) {
      auto& files = static_cast<QFileDialog&>(dialog);
      title = files.windowTitle();
      filters = files.nameFilters();
      directory = files.directory().absolutePath();
      save = files.acceptMode() == QFileDialog::AcceptSave;
      suffix = files.defaultSuffix();
      confirms = !files.testOption(QFileDialog::DontConfirmOverwrite);
      initialName = files.findChild<QLineEdit*>("fileNameEdit")->text();
      files.selectFile("results");
      static_cast<QDialog&>(files).accept();
      return files.result();
    });
    const auto chosen = host.ChooseSaveFile(options);
    QCOMPARE(title, QStringLiteral("Select Log File..."));
    QCOMPARE(filters, QStringList({"Text Files (*.txt)", "All Files (*)"}));
    QCOMPARE(directory, QString::fromStdString(dir.Path().string()));
    QVERIFY(save);
    QCOMPARE(suffix, QStringLiteral("txt"));
    QVERIFY(confirms);
    QCOMPARE(initialName, QStringLiteral("vornlog.txt"));
    QVERIFY(chosen);
    QCOMPARE(*chosen, dir.File("results.txt"));

    options.confirmOverwrite = false;
    host.SetResponder([&](QDialog& dialog) {
      confirms = !static_cast<QFileDialog&>(dialog).testOption(QFileDialog::DontConfirmOverwrite);
      dialog.reject();
      return dialog.result();
    });
    QVERIFY(!host.ChooseSaveFile(options));
    QVERIFY(!confirms);
  }

  void openDialogsGiveTheChosenExistingFile() {
    testing::TempDir dir;
    const std::string data = dir.Write("data.txt", "a\n1\n");
    dir.Enter();
    QtHost host;
    bool open = false;
    QString directory;
    host.SetResponder([&](QDialog& dialog) {
      auto& files = static_cast<QFileDialog&>(dialog);
      open = files.acceptMode() == QFileDialog::AcceptOpen && files.fileMode() == QFileDialog::ExistingFile;
      directory = files.directory().absolutePath();
      files.selectFile("data.txt");
      static_cast<QDialog&>(files).accept();
      return files.result();
    });
    FileDialogOptions options;
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    QCOMPARE(host.ChooseOpenFile(options).value_or(""), data);
    QVERIFY(open);
    QCOMPARE(directory, QDir::currentPath());
  }

  // Some dialogs take their values on Cancel too, so the edits reach the form either way.
  void settingsDialogsKeepEditsWhicheverButtonClosesThem() {
    QtHost host;
    DialogForm form("Question");
    form.Add(TextFieldControl("value", ""));
    for (const auto& [button, accepted] : {std::pair{QDialogButtonBox::Ok, true}, std::pair{QDialogButtonBox::Cancel, false}}) {
      host.SetResponder([button = button](QDialog& dialog) {
        dialog.show();
        auto* edit = dialog.findChild<QLineEdit*>("value");
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("Sørensen %1").arg(button == QDialogButtonBox::Ok));
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(button), Qt::LeftButton);
        return dialog.result();
      });
      QCOMPARE(host.ShowDialog(form), accepted);
      QCOMPARE(form["value"].text, std::string("S\xF8rensen ") + (accepted ? "1" : "0"));
    }
  }

  void progressWindowIsModalAndItsCancelStopsTheCommand() {
    QtHost host;
    QVERIFY(host.ShowProgress("Bootstrap Std. Tree (BS+RMD)", "Replicate 1 of 3", 0, 3));
    QProgressDialog* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* progress = qobject_cast<QProgressDialog*>(widget)) window = progress;
    }
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Bootstrap Std. Tree (BS+RMD)"));
    QCOMPARE(window->labelText(), QStringLiteral("Replicate 1 of 3"));
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->maximum(), 3);
    window->cancel();
    QVERIFY(!host.ShowProgress("Bootstrap Std. Tree (BS+RMD)", "Replicate 2 of 3", 1, 3));
    host.EndProgress();
    for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<QProgressDialog*>(widget));
  }

  // Help shows its box when xdg-open finds no viewer: the opener's exit status decides.
  void openDocumentIsTrueOnlyWhenTheOpenerFoundAViewer() {
    QtHost host;
    testing::TempDir dir;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(dir.Path().string()) + ":" + path);
    for (const auto& [status, opened] : {std::pair{0, true}, std::pair{3, false}}) {
      dir.Write("xdg-open", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/opened.txt\"\nexit " + std::to_string(status) + "\n");
      std::filesystem::permissions(dir.File("xdg-open"), std::filesystem::perms::owner_all);
      QCOMPARE(host.OpenDocument(dir.File("vornhelp.pdf")), opened);
      QCOMPARE(testing::ReadFile(dir.File("opened.txt")), dir.File("vornhelp.pdf") + "\n");
    }
    qputenv("PATH", path);
  }

  void aModalWindowClosesTheProgressWindowFirst() {
    QtHost host;
    QVERIFY(host.ShowProgress("Principal Coordinate Analysis", "Rotation 1", 0, 3));
    bool progressShown = true;
    host.SetResponder([&](QDialog&) {
      const auto windows = QApplication::topLevelWidgets();
      progressShown = std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<QProgressDialog*>(w); });
      return int(QDialog::Rejected);
    });
    host.ShowMessage("File already exists.", "Output file exists", MessageButtons::YesNo);
    QVERIFY(!progressShown);
  }

  void dateAndTimeFollowTheUsersFormatsWithoutTimeZone() {
    QtHost host;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d$").match(QString::fromStdString(host.DateText())).hasMatch());
    QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(QString::fromStdString(host.TimeText())).hasMatch());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(QRegularExpression("^\\d{1,2}/\\d{1,2}/\\d\\d$").match(QString::fromStdString(host.DateText())).hasMatch());
    QVERIFY(QRegularExpression("^\\d{1,2}:\\d\\d:\\d\\d [AP]M$").match(QString::fromStdString(host.TimeText())).hasMatch());
    QLocale::setDefault(QLocale::system());
  }
};

QTEST_MAIN(QtHostTest)
#include "qt_host_test.moc"
