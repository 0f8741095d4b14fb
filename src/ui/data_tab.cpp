#include "ui/data_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/elided_label.h"
#include "ui/qt_text.h"

namespace vorn::ui {

DataTab::DataTab(const Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      model_(new DataTableModel(workspace, this)),
      caption_(new ElidedLabel),
      individualsInRows_(new QCheckBox("Individuals in &rows")),
      level_(new QComboBox),
      legend_(new QLabel),
      view_(new QTableView),
      showOverview_(new QCheckBox("&Whole matrix")),
      overview_(new MissingMapView(workspace)),
      pages_(new QStackedWidget) {
  caption_->setObjectName("dataCaption");
  caption_->setTextFormat(Qt::PlainText);
  individualsInRows_->setChecked(true);
  legend_->setTextFormat(Qt::RichText);
  legend_->setText(QString("<span style='background:%1'>&nbsp;1&nbsp;</span> presence &nbsp; "
                           "<span style='background:%2'>&nbsp;0&nbsp;</span> absence &nbsp; "
                           "<span style='background:%3'>&nbsp;?&nbsp;</span> missing")
                       .arg(ToQt(HexColour(LookOf(Presence).background)), ToQt(HexColour(LookOf(Absence).background)),
                            ToQt(HexColour(LookOf(Missing).background))));
  auto* tools = new QHBoxLayout;
  tools->addWidget(caption_, 1);
  tools->addWidget(legend_);
  tools->addSpacing(12);
  tools->addWidget(new QLabel("Colour by:"));
  // As wide as its longest entry: the entries change with the data's levels.
  level_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tools->addWidget(level_);
  tools->addWidget(individualsInRows_);
  showOverview_->setToolTip("The missing data map of the whole working matrix instead of the grid");
  tools->addWidget(showOverview_);

  view_->setModel(model_);
  // Rows of one text line and narrow score columns: the grid shows as many scores as fit, and the
  // headers never resize to their contents, which would read every name of a large matrix.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setWordWrap(false);
  view_->setSelectionMode(QAbstractItemView::ContiguousSelection);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  pages_->addWidget(view_);
  pages_->addWidget(overview_);
  layout->addWidget(pages_, 1);

  connect(individualsInRows_, &QCheckBox::toggled, this, [this](bool rows) {
    model_->SetOrientation(rows ? DataOrientation::IndividualsInRows : DataOrientation::IndividualsInColumns);
    SizeColumns();
  });
  connect(level_, &QComboBox::activated, this, [this](int level) {
    model_->SetLevel(static_cast<std::size_t>(level));
    if (showOverview_->isChecked()) overview_->Refresh(model_->Table().Level());
  });
  connect(showOverview_, &QCheckBox::toggled, this, [this](bool overview) {
    // The map is made only while it is shown: a large matrix costs nothing in the grid.
    if (overview) overview_->Refresh(model_->Table().Level());
    pages_->setCurrentWidget(overview ? static_cast<QWidget*>(overview_) : view_);
  });
  Refresh();
}

void DataTab::FillLevels() {
  level_->clear();
  level_->addItem("no groups");
  const std::size_t levels = model_->Table().Levels();
  for (std::size_t level = 1; level <= levels; ++level) level_->addItem(QString("groups of level %1").arg(level));
  level_->setCurrentIndex(static_cast<int>(model_->Table().Level()));
}

// Columns as wide as the widest column name, from 4 to 16 characters (the whole name is the
// header's tooltip); coordinates widen the columns that show them. The names are measured here,
// once per refresh, rather than by a header resizing to its contents, which would measure them
// again at every scroll.
void DataTab::SizeColumns() {
  QHeaderView& header = *view_->horizontalHeader();
  const QFontMetrics metrics(header.font());
  const int character = metrics.averageCharWidth();
  const auto fit = [&](int width) { return std::clamp(width + 2 * character, 4 * character, 16 * character); };
  const auto width = [&](const QVariant& text) { return metrics.horizontalAdvance(text.toString()); };
  const bool individualsInRows = model_->Table().RowsAreIndividuals();
  const int lead = static_cast<int>(model_->Table().CoordinateLines());
  int widest = 0;
  for (int column = individualsInRows ? lead : 0; column < model_->columnCount(); ++column) {
    widest = std::max(widest, width(model_->headerData(column, Qt::Horizontal)));
    for (int row = 0; !individualsInRows && row < lead; ++row) widest = std::max(widest, width(model_->index(row, column).data()));
  }
  header.setDefaultSectionSize(fit(widest));
  for (int column = 0; individualsInRows && column < lead; ++column) {
    int values = width(model_->headerData(column, Qt::Horizontal));
    for (int row = 0; row < model_->rowCount(); ++row) values = std::max(values, width(model_->index(row, column).data()));
    header.resizeSection(column, fit(values));
  }
}

void DataTab::Refresh() {
  model_->Refresh();
  SizeColumns();
  FillLevels();
  caption_->setText(ToQt(model_->Table().Caption()));
  if (showOverview_->isChecked()) overview_->Refresh(model_->Table().Level());
}

}  // namespace vorn::ui
