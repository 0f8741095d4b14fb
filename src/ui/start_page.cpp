#include "ui/start_page.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

constexpr const char* kRoad =
    "<p><b>The usual road of an analysis</b></p><ol>"
    "<li>File &gt; Load (or File &gt; Import) the band matrix</li>"
    "<li>DataMatrix &gt; Matrix Statistics and Missing Data Statistics</li>"
    "<li>DataMatrix &gt; Remove Loci, Remove Individuals, Replace Missing Data</li>"
    "<li>DataMatrix &gt; Group Manager for the populations</li>"
    "<li>Analysis &gt; Standard Similarity, then Trees &gt; UPGMA or Trees &gt; Principal Coordinate Analysis</li>"
    "<li>Analysis &gt; Shannon's Index and AMOVA</li>"
    "</ol><p>Chapter \"Getting started\" of Help &gt; Help (F1) walks the road with the example data.</p>";

}  // namespace

StartPage::StartPage(QWidget* parent) : QWidget(parent), recent_(new QListWidget) {
  setObjectName("startPage");
  auto* title = new QLabel("<h2>No data loaded</h2>");
  auto* load = new QPushButton("&Load a Data File...");
  auto* import = new QPushButton("&Import a CSV / TSV Table...");
  connect(load, &QPushButton::clicked, this, [this] {
    if (onCommand) onCommand("Load1Click");
  });
  connect(import, &QPushButton::clicked, this, [this] {
    if (onCommand) onCommand("ImportCsvTable1Click");
  });
  recent_->setObjectName("startRecent");
  // Enter or a double click loads the file chosen.
  connect(recent_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (onRecentFile) onRecentFile(static_cast<std::size_t>(recent_->row(item)));
  });
  auto* road = new QLabel(kRoad);
  road->setTextFormat(Qt::RichText);
  road->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(load);
  buttons->addWidget(import);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);
  layout->addWidget(title);
  layout->addLayout(buttons);
  layout->addWidget(new QLabel("Recent data files:"));
  layout->addWidget(recent_, 1);
  layout->addWidget(road);
}

void StartPage::ShowRecent(const std::vector<std::string>& entries) {
  recent_->clear();
  for (const std::string& entry : entries) recent_->addItem(PathToQt(entry));
  recent_->setEnabled(!entries.empty());
}

}  // namespace vorn::ui
