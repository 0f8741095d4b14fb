#include "ui/form_layout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <map>
#include <utility>

#include "core/dialog_form.h"
#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

// Fields set beside a radio item (item index) or a check box (item -1), by the target's key.
using BesideMap = std::map<std::pair<std::string, int>, std::vector<ControlWidgets*>>;

bool IsField(const Control& control) {
  return control.kind == ControlKind::CharField || control.kind == ControlKind::TextField ||
         control.kind == ControlKind::DropDown;
}

bool IsShortField(const Control& control) {
  return (control.kind == ControlKind::CharField || control.kind == ControlKind::TextField) &&
         control.maxLength > 0 && control.maxLength <= 4;
}

// Free text fields may stretch; numbers and symbols keep a width that fits their text.
bool Stretches(const Control& control) {
  return control.kind == ControlKind::TextField && !control.digitsOnly &&
         (control.maxLength == 0 || control.maxLength > 8);
}

// A field beside an item is sized like a number even when it takes free text.
void SizeEditor(const ControlWidgets& widgets, bool beside) {
  auto* edit = qobject_cast<QLineEdit*>(widgets.editor);
  if (!edit) return;
  const Control& control = *widgets.control;
  const QFontMetrics metrics(edit->font());
  const int padding = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
  if (Stretches(control) && !beside) {
    edit->setMinimumWidth(metrics.horizontalAdvance(QString(24, QLatin1Char('x'))) + padding);
    return;
  }
  const bool sized = control.maxLength > 0 && control.maxLength <= 8;
  const QChar sample = control.kind == ControlKind::CharField ? QLatin1Char('M') : QLatin1Char('0');
  edit->setFixedWidth(metrics.horizontalAdvance(QString(sized ? control.maxLength + 1 : 12, sample)) + padding);
}

// The field(s) set beside an item, then text; for a check box or radio item row.
QHBoxLayout* BesideRow(QWidget* item, const std::vector<ControlWidgets*>& fields, QLabel* rest) {
  auto* row = new QHBoxLayout;
  row->addWidget(item);
  for (ControlWidgets* field : fields) {
    SizeEditor(*field, true);
    if (field->caption) row->addWidget(field->caption);
    row->addWidget(field->editor);
    if (field->browse) row->addWidget(field->browse);
    if (field->suffix) row->addWidget(field->suffix);
  }
  if (rest) row->addWidget(rest);
  row->addStretch(1);
  return row;
}

// A radio item whose caption leaves a gap of spaces for its field ("at p-value      %") shows
// the text before the gap on the button and the text after it behind the field.
QLabel* SplitAtGap(QRadioButton* radio) {
  const QString text = radio->text();
  const qsizetype gap = text.indexOf(QLatin1String("   "));
  if (gap < 0) return nullptr;
  const QString after = text.mid(gap).trimmed();
  radio->setText(text.left(gap).trimmed());
  if (after.isEmpty()) return nullptr;
  auto* rest = new QLabel(after);
  rest->setTextFormat(Qt::PlainText);
  return rest;
}

void LayOutRadioGroup(ControlWidgets& group, const BesideMap& beside) {
  auto* layout = new QVBoxLayout(group.editor);
  for (std::size_t i = 0; i < group.radios.size(); ++i) {
    const auto fields = beside.find({group.control->key, static_cast<int>(i)});
    if (fields == beside.end()) {
      layout->addWidget(group.radios[i]);
    } else {
      layout->addLayout(BesideRow(group.radios[i], fields->second, SplitAtGap(group.radios[i])));
    }
  }
}

// Rows of controls in one grid: caption | field | suffix for fields, whole rows for the rest.
// Four or more short fields alone flow into two sets of columns, top to bottom.
class RowGrid {
 public:
  explicit RowGrid(const BesideMap& beside) : beside_(beside) {}

  QGridLayout* Build(const std::vector<ControlWidgets*>& controls) {
    bool allShort = controls.size() >= 4;
    for (const ControlWidgets* widgets : controls) allShort &= IsShortField(*widgets->control);
    if (allShort) {
      const std::size_t perColumn = (controls.size() + 1) / 2;
      for (std::size_t i = 0; i < controls.size(); ++i) {
        AddField(*controls[i], static_cast<int>(i % perColumn), static_cast<int>(i / perColumn) * kColumnsPerSet);
      }
      grid_->setColumnMinimumWidth(kColumnsPerSet - 1, 24);
      grid_->setColumnStretch(2 * kColumnsPerSet - 1, 1);
      return grid_;
    }
    bool anyStretches = false;
    for (ControlWidgets* widgets : controls) anyStretches |= Add(*widgets);
    grid_->setColumnStretch(anyStretches ? 1 : kColumnsPerSet - 1, 1);
    return grid_;
  }

 private:
  static constexpr int kColumnsPerSet = 4;  // caption, field, suffix, space

  // Places a field; true when it may stretch.
  bool AddField(ControlWidgets& widgets, int row, int column) {
    const Control& control = *widgets.control;
    SizeEditor(widgets, false);
    const bool stretches = Stretches(control);
    if (widgets.caption) grid_->addWidget(widgets.caption, row, column);
    const int fieldColumn = column + (widgets.caption ? 1 : 0);
    grid_->addWidget(widgets.editor, row, fieldColumn, 1, column + 2 - fieldColumn,
                     stretches ? Qt::Alignment() : Qt::AlignLeft);
    if (widgets.suffix) grid_->addWidget(widgets.suffix, row, column + 2);
    // A path field has no suffix: its button takes that column.
    if (widgets.browse) grid_->addWidget(widgets.browse, row, column + 2);
    return stretches;
  }

  // Places any control on the next row(s); true when it is a field that may stretch.
  bool Add(ControlWidgets& widgets) {
    const Control& control = *widgets.control;
    if (IsField(control)) return AddField(widgets, row_++, 0);
    if (control.kind == ControlKind::CheckBox) {
      const auto fields = beside_.find({control.key, -1});
      if (fields != beside_.end() || widgets.suffix) {
        const std::vector<ControlWidgets*> none;
        grid_->addLayout(BesideRow(widgets.editor, fields != beside_.end() ? fields->second : none, widgets.suffix),
                         row_++, 0, 1, kColumnsPerSet);
        return false;
      }
    }
    if (widgets.caption) grid_->addWidget(widgets.caption, row_++, 0, 1, kColumnsPerSet);  // lists
    grid_->addWidget(widgets.editor, row_++, 0, 1, kColumnsPerSet);
    return false;
  }

  const BesideMap& beside_;
  QGridLayout* grid_ = new QGridLayout;
  int row_ = 0;
};

// A run of the dialog: a frame, a radio group, or loose controls between them.
struct Segment {
  enum class Kind { Frame, RadioGroup, Loose } kind;
  std::string frame;
  std::vector<ControlWidgets*> controls;
};

std::vector<Segment> Segments(std::vector<ControlWidgets>& controls, const std::vector<bool>& placedBeside) {
  std::vector<Segment> segments;
  std::map<std::string, std::size_t> frames;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (placedBeside[i]) continue;
    const Control& control = *controls[i].control;
    if (!control.frame.empty()) {
      const auto [frame, added] = frames.try_emplace(control.frame, segments.size());
      if (added) segments.push_back({Segment::Kind::Frame, control.frame, {}});
      segments[frame->second].controls.push_back(&controls[i]);
    } else if (control.kind == ControlKind::RadioGroup) {
      segments.push_back({Segment::Kind::RadioGroup, {}, {&controls[i]}});
    } else {
      if (segments.empty() || segments.back().kind != Segment::Kind::Loose) segments.push_back({Segment::Kind::Loose, {}, {}});
      segments.back().controls.push_back(&controls[i]);
    }
  }
  return segments;
}

// A box that holds a few radio items or check boxes and nothing else may share its row.
bool IsCompact(const Segment& segment, const BesideMap& beside) {
  if (segment.kind == Segment::Kind::Loose || segment.controls.size() > 4) return false;
  if (segment.kind == Segment::Kind::RadioGroup) {
    const Control& group = *segment.controls.front()->control;
    for (std::size_t i = 0; i < group.items.size(); ++i) {
      if (beside.count({group.key, static_cast<int>(i)})) return false;
    }
    return group.items.size() <= 4;
  }
  for (const ControlWidgets* widgets : segment.controls) {
    const Control& control = *widgets->control;
    const bool plain = control.kind == ControlKind::CheckBox || control.kind == ControlKind::Label;
    if (!plain || beside.count({control.key, -1}) || widgets->suffix) return false;
  }
  return true;
}

QWidget* FrameBox(const Segment& segment, const BesideMap& beside) {
  auto* box = new QGroupBox(ToQt(segment.frame));
  box->setObjectName(QLatin1String("frame.") + ToQt(segment.frame));
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(RowGrid(beside).Build(segment.controls));
  bool anyShown = false;
  for (const ControlWidgets* widgets : segment.controls) anyShown |= widgets->control->visible;
  box->setVisible(anyShown);
  return box;
}

}  // namespace

QLayout* ArrangeControls(std::vector<ControlWidgets>& controls) {
  BesideMap beside;
  std::vector<bool> placedBeside(controls.size(), false);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& control = *controls[i].control;
    if (control.besideKey.empty()) continue;
    for (const ControlWidgets& target : controls) {
      const Control& host = *target.control;
      if (host.key != control.besideKey) continue;
      const bool onItem = host.kind == ControlKind::RadioGroup && control.besideItem >= 0 &&
                          control.besideItem < static_cast<int>(host.items.size());
      if (onItem || host.kind == ControlKind::CheckBox) {
        beside[{host.key, onItem ? control.besideItem : -1}].push_back(&controls[i]);
        placedBeside[i] = true;
      }
    }
  }
  for (ControlWidgets& widgets : controls) {
    if (widgets.control->kind == ControlKind::RadioGroup) LayOutRadioGroup(widgets, beside);
  }

  auto* layout = new QVBoxLayout;
  const std::vector<Segment> segments = Segments(controls, placedBeside);
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& segment = segments[i];
    if (segment.kind == Segment::Kind::Loose) {
      layout->addLayout(RowGrid(beside).Build(segment.controls));
      continue;
    }
    const auto box = [&](const Segment& s) {
      return s.kind == Segment::Kind::Frame ? FrameBox(s, beside) : s.controls.front()->editor;
    };
    if (i + 1 < segments.size() && IsCompact(segment, beside) && IsCompact(segments[i + 1], beside)) {
      auto* pair = new QHBoxLayout;
      pair->addWidget(box(segment), 1);
      pair->addWidget(box(segments[++i]), 1);
      layout->addLayout(pair);
    } else {
      layout->addWidget(box(segment));
    }
  }
  return layout;
}

}  // namespace vorn::ui
