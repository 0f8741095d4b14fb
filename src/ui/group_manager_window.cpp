#include "ui/group_manager_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

QLabel* Text(const QString& text, const char* name = nullptr) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  if (name) label->setObjectName(QLatin1String(name));
  return label;
}

// The name of what is shown (the current group, the shown locus set), set off from the captions.
QLabel* NameText(const char* name) {
  QLabel* label = Text(QString(), name);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QListWidget* List(const char* name, bool ticks) {
  auto* list = new QListWidget;
  list->setObjectName(QLatin1String(name));
  list->setSelectionMode(ticks ? QAbstractItemView::NoSelection : QAbstractItemView::ExtendedSelection);
  list->setMinimumWidth(190);
  list->setMinimumHeight(12 * list->fontMetrics().lineSpacing());
  return list;
}

QPushButton* Button(const QString& caption, const char* name) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

std::vector<bool> Marks(const QListWidget* list, bool ticks) {
  std::vector<bool> marks(static_cast<std::size_t>(list->count()));
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    marks[static_cast<std::size_t>(i)] = ticks ? item->checkState() == Qt::Checked : item->isSelected();
  }
  return marks;
}

// Shows items with their marks; a list that already holds these items keeps its scroll position.
void ShowList(QListWidget* list, const std::vector<std::string>& items, const std::vector<bool>& marks, bool ticks) {
  bool same = list->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == ToQt(items[static_cast<std::size_t>(i)]);
  if (!same) {
    list->clear();
    for (const auto& text : items) {
      auto* item = new QListWidgetItem(ToQt(text), list);
      if (ticks) item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
  }
  for (int i = 0; i < list->count(); ++i) {
    const bool marked = static_cast<std::size_t>(i) < marks.size() && marks[static_cast<std::size_t>(i)];
    if (ticks) list->item(i)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
    else list->item(i)->setSelected(marked);
  }
}

void ShowItems(QComboBox* combo, const std::vector<std::string>& items, int current) {
  combo->clear();
  for (const auto& item : items) combo->addItem(ToQt(item));
  combo->setCurrentIndex(current);
}

}  // namespace

GroupManagerWindow::GroupManagerWindow(GroupManagerView& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
  setWindowTitle(QStringLiteral("Group Manager"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  // Upper half: the source data set, the picked sub-set and its name.
  dataSetName_ = NameText("dataSetName");
  dataSetCount_ = Text(QString(), "dataSetCount");
  groups_ = new QComboBox;
  groups_->setObjectName(QStringLiteral("groups"));
  members_ = List("members", false);
  fullPath_ = new QCheckBox(QStringLiteral("Show full data path"));
  fullPath_->setObjectName(QStringLiteral("fullPath"));
  auto* pick = Button(QStringLiteral(">>"), "pick");
  auto* unpick = Button(QStringLiteral("X"), "unpick");
  picked_ = List("picked", false);
  pickedCount_ = Text(QString(), "pickedCount");
  groupName_ = new QLineEdit;
  groupName_->setObjectName(QStringLiteral("name"));
  auto* accept = Button(QStringLiteral("Accept sub-set"), "accept");
  auto* remove = Button(QStringLiteral("Delete sub-set"), "delete");

  auto* source = new QGroupBox(QStringLiteral("Source data set"));
  auto* upper = new QGridLayout(source);
  auto* dataSetLine = new QHBoxLayout;
  dataSetLine->addWidget(Text(QStringLiteral("Data set")));
  dataSetLine->addWidget(dataSetName_, 1);
  upper->addLayout(dataSetLine, 0, 0);
  upper->addWidget(groups_, 1, 0);
  upper->addWidget(members_, 2, 0);
  upper->addWidget(dataSetCount_, 3, 0);
  upper->addWidget(fullPath_, 4, 0);
  auto* arrows = new QVBoxLayout;
  arrows->addStretch();
  arrows->addWidget(pick);
  arrows->addWidget(unpick);
  arrows->addStretch();
  upper->addLayout(arrows, 2, 1);
  upper->addWidget(Text(QStringLiteral("Data sub-set")), 0, 2);
  upper->addWidget(picked_, 1, 2, 2, 1);
  upper->addWidget(pickedCount_, 3, 2);
  auto* nameLine = new QHBoxLayout;
  auto* nameCaption = Text(QStringLiteral("&Name"));
  nameCaption->setBuddy(groupName_);
  nameLine->addWidget(nameCaption);
  nameLine->addWidget(groupName_, 1);
  upper->addLayout(nameLine, 4, 2);
  auto* groupButtons = new QHBoxLayout;
  groupButtons->addWidget(accept);
  groupButtons->addWidget(remove);
  upper->addLayout(groupButtons, 5, 2);

  // Lower half: the locus sets.
  locusSetName_ = NameText("locusSetName");
  locusSets_ = new QComboBox;
  locusSets_->setObjectName(QStringLiteral("locusSets"));
  loci_ = List("loci", true);
  locusCount_ = Text(QString(), "locusCount");
  locusSetNameField_ = new QLineEdit;
  locusSetNameField_->setObjectName(QStringLiteral("locusSetNameField"));
  auto* add = Button(QStringLiteral("Add"), "add");
  auto* removeSet = Button(QStringLiteral("Delete"), "deleteLocusSet");
  auto* selectCurrent = Button(QStringLiteral("Select current"), "selectCurrent");
  auto* unselectAll = Button(QStringLiteral("Unselect all"), "unselectAll");

  auto* sets = new QGroupBox(QStringLiteral("Locus sets"));
  auto* lower = new QGridLayout(sets);
  auto* independent = Text(QStringLiteral("(group independent)"));
  independent->setEnabled(false);  // a remark, drawn in the muted colour
  lower->addWidget(independent, 0, 0);
  lower->addWidget(locusSetName_, 1, 0);
  lower->addWidget(locusSets_, 2, 0);
  lower->addWidget(loci_, 3, 0);
  lower->addWidget(locusCount_, 4, 0);
  auto* setControls = new QVBoxLayout;
  auto* setNameLine = new QHBoxLayout;
  auto* setNameCaption = Text(QStringLiteral("Na&me"));
  setNameCaption->setBuddy(locusSetNameField_);
  setNameLine->addWidget(setNameCaption);
  setNameLine->addWidget(locusSetNameField_, 1);
  setControls->addLayout(setNameLine);
  setControls->addWidget(add);
  setControls->addWidget(removeSet);
  setControls->addSpacing(12);
  setControls->addWidget(selectCurrent);
  setControls->addWidget(unselectAll);
  setControls->addStretch();
  lower->addLayout(setControls, 1, 1, 4, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source);
  layout->addWidget(sets);
  layout->addWidget(buttons);

  using V = GroupManagerView;
  connect(groups_, &QComboBox::activated, this, [this] { Run(&V::NewGrpSlection); });
  connect(fullPath_, &QCheckBox::toggled, this, [this] {
    if (!showing_) Run(&V::TogglePathFormat);
  });
  connect(pick, &QPushButton::clicked, this, [this] { Run(&V::Button1Click); });
  connect(unpick, &QPushButton::clicked, this, [this] { Run(&V::Button2Click); });
  connect(accept, &QPushButton::clicked, this, [this] { Run(&V::Button3Click); });
  connect(remove, &QPushButton::clicked, this, [this] { Run(&V::Button4Click); });
  connect(locusSets_, &QComboBox::activated, this, [this] { Run(&V::NewLocSelection); });
  connect(loci_, &QListWidget::itemChanged, this, [this] {
    if (!showing_) Run(&V::LocNoRedo);
  });
  connect(add, &QPushButton::clicked, this, [this] { Run(&V::Button5Click); });
  connect(removeSet, &QPushButton::clicked, this, [this] { Run(&V::Button6Click); });
  connect(selectCurrent, &QPushButton::clicked, this, [this] { Run(&V::Button7Click); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { Run(&V::Button8Click); });

  ShowControls();
}

void GroupManagerWindow::Collect() {
  GroupManagerControls& c = dialog_.Controls();
  c.groupIndex = groups_->currentIndex();
  c.membersSelected = Marks(members_, false);
  c.showFullPath = fullPath_->isChecked();
  c.pickedSelected = Marks(picked_, false);
  c.groupName = FromQt(groupName_->text());
  c.locusSetIndex = locusSets_->currentIndex();
  c.lociTicked = Marks(loci_, true);
  c.locusSetNameField = FromQt(locusSetNameField_->text());
}

void GroupManagerWindow::ShowControls() {
  showing_ = true;
  const GroupManagerControls& c = dialog_.Controls();
  dataSetName_->setText(ToQt(c.dataSetName));
  dataSetCount_->setText(ToQt(c.dataSetCount));
  ShowItems(groups_, c.groupItems, c.groupIndex);
  ShowList(members_, c.members, c.membersSelected, false);
  fullPath_->setChecked(c.showFullPath);
  ShowList(picked_, c.picked, c.pickedSelected, false);
  pickedCount_->setText(ToQt(c.pickedCount));
  groupName_->setText(ToQt(c.groupName));
  locusSetName_->setText(ToQt(c.locusSetName));
  ShowItems(locusSets_, c.locusSetItems, c.locusSetIndex);
  ShowList(loci_, c.loci, c.lociTicked, true);
  locusCount_->setText(ToQt(c.locusCount));
  locusSetNameField_->setText(ToQt(c.locusSetNameField));
  showing_ = false;
}

void GroupManagerWindow::Run(void (GroupManagerView::*handler)()) {
  Collect();
  (dialog_.*handler)();
  ShowControls();
}

}  // namespace vorn::ui
