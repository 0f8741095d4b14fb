// The generic dialog renderer: every control kind with its caption, the layout hints (frames,
// suffixes, a field beside a radio item or a check box, hidden controls), Windows-1252 texts,
// edits written back to the form, OK as default and Esc as Cancel; every dialog of the program.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "commands/all_commands.h"
#include "support/recording_host.h"
#include "ui/form_dialog.h"
#include "ui/qt_text.h"

using namespace vorn;
using namespace vorn::ui;

namespace {

template <typename T>
T* Find(QWidget& dialog, const QString& name) {
  return dialog.findChild<T*>(name);
}

// Every kind of control, with the layout hints the program's dialogs use.
DialogForm SampleForm() {
  DialogForm form("Select Similarity Coefficient");
  Control coefficient = RadioGroupControl("coefficient", "(Dis)Similarity coefficient",
                                          {"Jaccard", "Dice; S\xF8rensen", "Nei-Li* with r=", "Significance at p-value      %"},
                                          {"jaccard", "dice", "neili", "p"});
  coefficient.selected = 1;
  form.Add(coefficient);
  Control r = TextFieldControl("r", "");
  r.besideKey = "coefficient";
  r.besideItem = 2;
  r.text = "6";
  form.Add(r);
  Control alpha = TextFieldControl("alpha", "");
  alpha.besideKey = "coefficient";
  alpha.besideItem = 3;
  form.Add(alpha);
  form.Add(LabelControl("note", "*distance rather than similarity"));
  Control stop = CheckBoxControl("stop", "Stop if inconsistent trees are more than ");
  form.Add(stop);
  Control stopPercent = TextFieldControl("stop_percent", "", 2, true);
  stopPercent.besideKey = "stop";
  stopPercent.suffix = "% JC";
  stopPercent.text = "50";
  form.Add(stopPercent);
  Control percent = TextFieldControl("percent", "Missing data which will be replaced by presences:", 2, true);
  percent.suffix = "%";
  percent.text = "50";
  form.Add(percent);
  Control symbol = CharFieldControl("symbol", "Presence", "Symbols");
  symbol.text = "1";
  form.Add(symbol);
  form.Add(CheckBoxControl("in_frame", "Delimited data", "Symbols"));
  Control ticks = TickListControl("groups", "Groups to test");
  ticks.items = {"AllData", "Pop A", "Pop \xC5"};
  ticks.marks = {true, false, true};
  form.Add(ticks);
  Control multi = MultiListControl("loci", "Locus sets");
  multi.items = {"AllLoci", "set1"};
  multi.marks = {false, true};
  form.Add(multi);
  Control drop = DropDownControl("parent1", "Select Parent 1");
  drop.items = {"AllData", "Pop A"};
  drop.selected = 1;
  form.Add(drop);
  Control hidden = CheckBoxControl("hidden", "Ambiguity negative");
  hidden.visible = false;
  form.Add(hidden);
  Control hiddenFrame = CheckBoxControl("alone", "Alone", "Hidden frame");
  hiddenFrame.visible = false;
  form.Add(hiddenFrame);
  return form;
}

// The vertical centre of a widget in dialog coordinates.
int MiddleY(QWidget& dialog, QWidget* widget) { return widget->mapTo(&dialog, widget->rect().center()).y(); }
int LeftX(QWidget& dialog, QWidget* widget) { return widget->mapTo(&dialog, QPoint(0, 0)).x(); }

}  // namespace

class FormDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void everyControlKindShowsItsCaptionAndState() {
    DialogForm form = SampleForm();
    FormDialog dialog(form);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Similarity Coefficient"));

    auto* group = Find<QGroupBox>(dialog, "coefficient");
    QVERIFY(group);
    QCOMPARE(group->title(), QStringLiteral("(Dis)Similarity coefficient"));
    QCOMPARE(Find<QRadioButton>(dialog, "coefficient.1")->text(), QStringLiteral("Dice; Sørensen"));
    QVERIFY(Find<QRadioButton>(dialog, "coefficient.1")->isChecked());
    QCOMPARE(Find<QLineEdit>(dialog, "r")->text(), QStringLiteral("6"));
    QCOMPARE(Find<QLabel>(dialog, "note")->text(), QStringLiteral("*distance rather than similarity"));
    QCOMPARE(Find<QCheckBox>(dialog, "stop")->text(), QStringLiteral("Stop if inconsistent trees are more than "));
    QCOMPARE(Find<QLabel>(dialog, "stop_percent.suffix")->text(), QStringLiteral("% JC"));
    QCOMPARE(Find<QLabel>(dialog, "percent.caption")->text(),
             QStringLiteral("Missing data which will be replaced by presences:"));
    QCOMPARE(Find<QLabel>(dialog, "percent.suffix")->text(), QStringLiteral("%"));
    QCOMPARE(Find<QLineEdit>(dialog, "symbol")->maxLength(), 1);
    QCOMPARE(Find<QLabel>(dialog, "symbol.caption")->text(), QStringLiteral("Presence"));

    auto* ticks = Find<QListWidget>(dialog, "groups");
    QCOMPARE(ticks->count(), 3);
    QCOMPARE(ticks->item(2)->text(), QStringLiteral("Pop Å"));
    QCOMPARE(ticks->item(0)->checkState(), Qt::Checked);
    QCOMPARE(ticks->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(Find<QLabel>(dialog, "groups.caption")->text(), QStringLiteral("Groups to test"));
    auto* multi = Find<QListWidget>(dialog, "loci");
    QVERIFY(!multi->item(0)->isSelected());
    QVERIFY(multi->item(1)->isSelected());
    auto* drop = Find<QComboBox>(dialog, "parent1");
    QCOMPARE(drop->count(), 2);
    QCOMPARE(drop->currentText(), QStringLiteral("Pop A"));
    QCOMPARE(Find<QLabel>(dialog, "parent1.caption")->text(), QStringLiteral("Select Parent 1"));
  }

  void layoutHintsPlaceFieldsBesideTheirItems() {
    DialogForm form = SampleForm();
    FormDialog dialog(form);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    auto* neiLi = Find<QRadioButton>(dialog, "coefficient.2");
    auto* r = Find<QLineEdit>(dialog, "r");
    QVERIFY(qAbs(MiddleY(dialog, neiLi) - MiddleY(dialog, r)) < neiLi->height() / 2 + 1);
    QVERIFY(LeftX(dialog, r) > LeftX(dialog, neiLi) + neiLi->width() - 1);
    QVERIFY(group(dialog)->isAncestorOf(r));

    // A caption that leaves a gap for its field shows its tail behind the field.
    auto* significance = Find<QRadioButton>(dialog, "coefficient.3");
    QCOMPARE(significance->text(), QStringLiteral("Significance at p-value"));

    auto* stop = Find<QCheckBox>(dialog, "stop");
    auto* stopPercent = Find<QLineEdit>(dialog, "stop_percent");
    auto* stopSuffix = Find<QLabel>(dialog, "stop_percent.suffix");
    QVERIFY(qAbs(MiddleY(dialog, stop) - MiddleY(dialog, stopPercent)) < stop->height() / 2 + 1);
    QVERIFY(LeftX(dialog, stopSuffix) > LeftX(dialog, stopPercent));

    auto* percent = Find<QLineEdit>(dialog, "percent");
    QVERIFY(LeftX(dialog, Find<QLabel>(dialog, "percent.suffix")) >= LeftX(dialog, percent) + percent->width());
    QVERIFY(percent->width() < 80);  // two digits need a narrow field

    auto* frame = Find<QGroupBox>(dialog, "frame.Symbols");
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Symbols"));
    QVERIFY(frame->isAncestorOf(Find<QLineEdit>(dialog, "symbol")));
    QVERIFY(frame->isAncestorOf(Find<QCheckBox>(dialog, "in_frame")));

    QVERIFY(Find<QCheckBox>(dialog, "hidden")->isHidden());
    QVERIFY(Find<QGroupBox>(dialog, "frame.Hidden frame")->isHidden());
    QVERIFY(!Find<QCheckBox>(dialog, "stop")->isHidden());
  }

  void editsAreWrittenBackInTheProgramsText() {
    DialogForm form = SampleForm();
    FormDialog dialog(form);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    Find<QRadioButton>(dialog, "coefficient.2")->setChecked(true);
    auto* r = Find<QLineEdit>(dialog, "r");
    r->clear();
    QTest::keyClicks(r, "2.5");
    Find<QCheckBox>(dialog, "stop")->setChecked(true);
    auto* percent = Find<QLineEdit>(dialog, "percent");
    percent->clear();
    QTest::keyClicks(percent, "a7b5c9");  // digits only, at most two
    auto* symbol = Find<QLineEdit>(dialog, "symbol");
    symbol->clear();
    QTest::keyClicks(symbol, QStringLiteral("øx"));
    Find<QListWidget>(dialog, "groups")->item(1)->setCheckState(Qt::Checked);
    Find<QListWidget>(dialog, "groups")->item(2)->setCheckState(Qt::Unchecked);
    Find<QListWidget>(dialog, "loci")->item(0)->setSelected(true);
    Find<QComboBox>(dialog, "parent1")->setCurrentIndex(0);
    dialog.Store();

    QCOMPARE(form["coefficient"].selected, 2);
    QCOMPARE(form["r"].text, std::string("2.5"));
    QVERIFY(form["stop"].checked);
    QCOMPARE(form["percent"].text, std::string("75"));
    QCOMPARE(form["symbol"].text, std::string("\xF8"));
    QCOMPARE(form["groups"].marks, (std::vector<bool>{true, true, false}));
    QCOMPARE(form["loci"].marks, (std::vector<bool>{true, true}));
    QCOMPARE(form["parent1"].selected, 0);
  }

  void okIsTheDefaultAndEscapeCancels() {
    DialogForm form = SampleForm();
    {
      FormDialog dialog(form);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
      QVERIFY(ok->isDefault());
      QTest::keyClick(Find<QLineEdit>(dialog, "r"), Qt::Key_Return);
      QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    }
    FormDialog dialog(form);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(Find<QLineEdit>(dialog, "r"), Qt::Key_Escape);
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }

  // Every dialog of the program renders with each visible control under its key and caption.
  void everyDialogOfTheProgramRenders() {
    testing::RecordingHost host;
    TMainPrg program(host, AllCommands());
    program.Start(1);
    for (ModalDialog* modal : program.dialogs.All()) {
      const DialogForm& form = modal->form;
      FormDialog dialog(modal->form);
      QCOMPARE(dialog.windowTitle(), ToQt(form.Caption()));
      for (const Control& control : form.Controls()) {
        const QString key = QString::fromStdString(control.key);
        auto* widget = dialog.findChild<QWidget*>(key);
        QVERIFY2(widget, qPrintable(ToQt(form.Caption()) + ": no widget for " + key));
        const bool shown = control.visible && !(control.kind == ControlKind::Label && control.caption.empty());
        QCOMPARE(widget->isHidden(), !shown);
        const QString caption = ToQt(control.caption);
        switch (control.kind) {
          case ControlKind::Label:
            QCOMPARE(static_cast<QLabel*>(widget)->text(), ToQt(PlainCaption(control.caption)));
            break;
          case ControlKind::CheckBox:
            QCOMPARE(static_cast<QCheckBox*>(widget)->text(), caption);
            break;
          case ControlKind::RadioGroup:
            QCOMPARE(static_cast<QGroupBox*>(widget)->title(), caption);
            for (std::size_t i = 0; i < control.items.size(); ++i) {
              auto* radio = dialog.findChild<QRadioButton*>(key + "." + QString::number(i));
              QVERIFY(radio);
              QVERIFY(ToQt(control.items[i]).startsWith(radio->text()));
            }
            break;
          default:
            if (!control.caption.empty()) {
              QCOMPARE(dialog.findChild<QLabel*>(key + ".caption")->text(), caption);
            }
        }
        if (!control.frame.empty()) {
          QVERIFY(dialog.findChild<QGroupBox*>("frame." + ToQt(control.frame))->isAncestorOf(widget));
        }
      }
    }
  }

  void theFileParameterDialogShowsItsDefaults() {
    testing::RecordingHost host;
    TMainPrg program(host, AllCommands());
    program.Start(1);
    FormDialog dialog(program.dialogs.fileParam.form);
    QVERIFY(dialog.findChild<QRadioButton*>("individuals.1")->isChecked());
    QCOMPARE(dialog.findChild<QRadioButton*>("individuals.0")->text(), QStringLiteral("rows"));
    QVERIFY(dialog.findChild<QCheckBox*>("individual_header")->isChecked());
    QVERIFY(!dialog.findChild<QCheckBox*>("locus_header")->isChecked());
    const char* symbols[][2] = {{"presence", "1"}, {"absence", "0"}, {"ambiguity", "?"},
                                {"open_remark", "{"}, {"close_remark", "}"}, {"end_of_data", "*"}};
    for (const auto& [key, text] : symbols) {
      QCOMPARE(dialog.findChild<QLineEdit*>(key)->text(), QString::fromLatin1(text));
    }
    QVERIFY(dialog.findChild<QCheckBox*>("ambiguity_negative")->isHidden());
    QCOMPARE(dialog.findChild<QGroupBox*>("frame.Header presence for ...")->title(),
             QStringLiteral("Header presence for ..."));
  }

 private:
  static QGroupBox* group(QWidget& dialog) { return Find<QGroupBox>(dialog, "coefficient"); }
};

QTEST_MAIN(FormDialogTest)
#include "form_dialog_test.moc"
