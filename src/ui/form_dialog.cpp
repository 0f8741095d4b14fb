#include "ui/form_dialog.h"

#include <algorithm>
#include <map>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "commands/shell/menu_table.h"
#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

QString Name(const std::string& key, const char* part = nullptr) {
  QString name = QString::fromStdString(key);
  if (part) name += QLatin1Char('.') + QLatin1String(part);
  return name;
}

// A text beside a control; captions of labels that name a field carry its accelerator.
QLabel* TextLabel(const QString& text, const QString& objectName) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setObjectName(objectName);
  return label;
}

QLineEdit* MakeLineEdit(const Control& control) {
  auto* edit = new QLineEdit(ToQt(control.text));
  if (control.maxLength > 0) edit->setMaxLength(control.maxLength);
  if (control.digitsOnly) {
    const QString count = control.maxLength > 0 ? QString::number(control.maxLength) : QString();
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0," + count + "}"), edit));
  }
  if (control.kind == ControlKind::CharField) edit->setAlignment(Qt::AlignCenter);
  return edit;
}

QListWidget* MakeList(const Control& control) {
  auto* list = new QListWidget;
  const bool ticks = control.kind == ControlKind::TickList;
  list->setSelectionMode(ticks ? QAbstractItemView::NoSelection : QAbstractItemView::ExtendedSelection);
  for (std::size_t i = 0; i < control.items.size(); ++i) {
    auto* item = new QListWidgetItem(ToQt(control.items[i]), list);
    const bool marked = i < control.marks.size() && control.marks[i];
    if (ticks) {
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
    } else {
      item->setSelected(marked);
    }
  }
  // Tall enough for four entries and at most ten; longer lists scroll.
  const int rows = std::clamp(list->count(), 4, 10);
  const int rowHeight = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().lineSpacing();
  list->setFixedHeight(rows * rowHeight + 2 * list->frameWidth() + 4);
  return list;
}

}  // namespace

FormDialog::FormDialog(DialogForm& form, QWidget* parent, FileChooser chooser)
    : QDialog(parent), form_(form), chooser_(std::move(chooser)) {
  setWindowTitle(ToQt(form.Caption()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  for (Control& control : form.Controls()) widgets_.push_back(MakeWidgets(control));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(ArrangeControls(widgets_));
  layout->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // as large as the controls need
  ApplyVisibility();
  if (form_.edited) WatchEdits();
  SetTabOrder(buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel));
  for (const auto& widgets : widgets_) {
    if (widgets.browse) connect(widgets.browse, &QPushButton::clicked, this, [this, &widgets] { Browse(widgets); });
  }
}

void FormDialog::SetTabOrder(QWidget* ok, QWidget* cancel) {
  // The fields set beside an item (-1: beside a check box), by the key of the item's control, as
  // ArrangeControls places them.
  std::map<std::string, std::vector<std::pair<int, const ControlWidgets*>>> beside;
  std::vector<bool> placedBeside;
  for (const auto& widgets : widgets_) {
    const Control& control = *widgets.control;
    const Control* host = control.besideKey.empty() ? nullptr : form_.Find(control.besideKey);
    const bool onItem = host && host->kind == ControlKind::RadioGroup && control.besideItem >= 0 &&
                        control.besideItem < static_cast<int>(host->items.size());
    const bool onBox = host && host->kind == ControlKind::CheckBox;
    placedBeside.push_back(onItem || onBox);
    if (onItem || onBox) beside[control.besideKey].emplace_back(onItem ? control.besideItem : -1, &widgets);
  }
  std::vector<QWidget*> order;
  const auto addField = [&](const ControlWidgets& widgets) {
    order.push_back(widgets.editor);
    if (widgets.browse) order.push_back(widgets.browse);
  };
  const auto addBeside = [&](const std::string& key, int item) {
    for (const auto& [at, widgets] : beside[key]) {
      if (at == item) addField(*widgets);
    }
  };
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    const ControlWidgets& widgets = widgets_[i];
    const Control& control = *widgets.control;
    if (control.kind == ControlKind::Label || placedBeside[i]) continue;
    if (control.kind == ControlKind::RadioGroup) {
      for (std::size_t i = 0; i < widgets.radios.size(); ++i) {
        order.push_back(widgets.radios[i]);
        addBeside(control.key, static_cast<int>(i));
      }
    } else {
      addField(widgets);
      if (control.kind == ControlKind::CheckBox) addBeside(control.key, -1);
    }
  }
  order.push_back(ok);
  order.push_back(cancel);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void FormDialog::Browse(const ControlWidgets& widgets) {
  const Control& control = *widgets.control;
  auto* edit = static_cast<QLineEdit*>(widgets.editor);
  FileDialogOptions options;
  options.title = PlainCaption(control.caption);
  options.filter = control.pathFilter.empty() ? "All Files (*.*)|*.*" : control.pathFilter;
  options.initialName = PathFromQt(edit->text());
  options.confirmOverwrite = control.path == PathKind::Save;
  const auto chosen = chooser_(options, control.path == PathKind::Save, this);
  if (!chosen) return;
  edit->setText(PathToQt(*chosen));
  edit->setFocus(Qt::OtherFocusReason);
  if (form_.edited) Edited();
}

void FormDialog::WatchEdits() {
  for (const auto& widgets : widgets_) {
    if (auto* box = qobject_cast<QCheckBox*>(widgets.editor)) connect(box, &QCheckBox::toggled, this, &FormDialog::Edited);
    if (auto* edit = qobject_cast<QLineEdit*>(widgets.editor)) connect(edit, &QLineEdit::textEdited, this, &FormDialog::Edited);
    if (auto* combo = qobject_cast<QComboBox*>(widgets.editor)) {
      connect(combo, &QComboBox::currentIndexChanged, this, &FormDialog::Edited);
    }
    if (widgets.radioGroup) connect(widgets.radioGroup, &QButtonGroup::idClicked, this, &FormDialog::Edited);
  }
}

void FormDialog::Edited() {
  Store();
  form_.edited(form_);
  for (const auto& widgets : widgets_) {
    const Control& control = *widgets.control;
    if (control.kind != ControlKind::Label) continue;
    static_cast<QLabel*>(widgets.editor)->setText(ToQt(PlainCaption(control.caption)));
    widgets.editor->setVisible(control.visible && !control.caption.empty());
  }
}

ControlWidgets FormDialog::MakeWidgets(Control& control) {
  ControlWidgets widgets;
  widgets.control = &control;
  const QString caption = ToQt(control.caption);
  switch (control.kind) {
    case ControlKind::Label:
      widgets.editor = TextLabel(ToQt(PlainCaption(control.caption)), Name(control.key));
      if (control.fixedPitch) widgets.editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
      break;
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(caption);
      box->setChecked(control.checked);
      widgets.editor = box;
      break;
    }
    case ControlKind::RadioGroup: {
      auto* box = new QGroupBox(caption);
      widgets.radioGroup = new QButtonGroup(box);
      for (std::size_t i = 0; i < control.items.size(); ++i) {
        auto* radio = new QRadioButton(ToQt(control.items[i]), box);
        radio->setObjectName(Name(control.key, std::to_string(i).c_str()));
        radio->setChecked(static_cast<int>(i) == control.selected);
        widgets.radioGroup->addButton(radio, static_cast<int>(i));
        widgets.radios.push_back(radio);
      }
      widgets.editor = box;
      break;
    }
    case ControlKind::CharField:
    case ControlKind::TextField:
      widgets.editor = MakeLineEdit(control);
      if (control.path != PathKind::None && chooser_) {
        widgets.browse = new QPushButton(QString::fromUtf8("Browse\u2026"));
        widgets.browse->setObjectName(Name(control.key, "browse"));
        // Enter in the dialog presses OK, not the button that had the focus last.
        widgets.browse->setAutoDefault(false);
      }
      break;
    case ControlKind::DropDown: {
      auto* combo = new QComboBox;
      for (const auto& item : control.items) combo->addItem(ToQt(item));
      combo->setCurrentIndex(control.selected);
      widgets.editor = combo;
      break;
    }
    case ControlKind::TickList:
    case ControlKind::MultiList:
      widgets.editor = MakeList(control);
      break;
  }
  widgets.editor->setObjectName(Name(control.key));
  const bool named = control.kind != ControlKind::Label && control.kind != ControlKind::CheckBox &&
                     control.kind != ControlKind::RadioGroup;
  if (named && !control.caption.empty()) {
    widgets.caption = TextLabel(caption, Name(control.key, "caption"));
    widgets.caption->setBuddy(widgets.editor);
  }
  if (!control.suffix.empty()) widgets.suffix = TextLabel(ToQt(control.suffix), Name(control.key, "suffix"));
  return widgets;
}

void FormDialog::ApplyVisibility() {
  for (const auto& widgets : widgets_) {
    const Control& control = *widgets.control;
    const bool shown = control.visible && !(control.kind == ControlKind::Label && control.caption.empty());
    if (shown) continue;
    for (QWidget* widget : {static_cast<QWidget*>(widgets.caption), widgets.editor, static_cast<QWidget*>(widgets.suffix),
                            static_cast<QWidget*>(widgets.browse)}) {
      if (widget) widget->setVisible(false);
    }
  }
}

void FormDialog::Store() {
  for (auto& widgets : widgets_) {
    Control& control = *widgets.control;
    switch (control.kind) {
      case ControlKind::Label:
        break;
      case ControlKind::CheckBox:
        control.checked = static_cast<QCheckBox*>(widgets.editor)->isChecked();
        break;
      case ControlKind::RadioGroup:
        if (widgets.radioGroup->checkedId() >= 0) control.selected = widgets.radioGroup->checkedId();
        break;
      case ControlKind::CharField:
      case ControlKind::TextField:
        control.text = FromQt(static_cast<QLineEdit*>(widgets.editor)->text());
        break;
      case ControlKind::DropDown:
        control.selected = static_cast<QComboBox*>(widgets.editor)->currentIndex();
        break;
      case ControlKind::TickList:
      case ControlKind::MultiList: {
        auto* list = static_cast<QListWidget*>(widgets.editor);
        control.marks.assign(control.items.size(), false);
        for (int i = 0; i < list->count() && i < static_cast<int>(control.items.size()); ++i) {
          const QListWidgetItem* item = list->item(i);
          control.marks[i] = control.kind == ControlKind::TickList ? item->checkState() == Qt::Checked : item->isSelected();
        }
        break;
      }
    }
  }
}

}  // namespace vorn::ui
