// The picture windows: the tree viewer paging through a tree file, colouring by the loaded
// groups and fitting a tree of 2000 tips; the PCoA plot following the last analysis.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>
#include <memory>

#include "support/temp_dir.h"
#include "ui/desktop.h"

using namespace vorn;
using namespace vorn::ui;

namespace {

QPushButton* Button(QWidget& window, const QString& text) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

QString Position(QWidget& window) {
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().startsWith("Tree ")) return label->text();
  }
  return {};
}

}  // namespace

class PictureWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir = std::make_unique<testing::TempDir>();
    dir->Enter();
    desktop = std::make_unique<Desktop>();
    desktop->program.Start(1);
  }

  void cleanup() {
    desktop.reset();
    dir.reset();
  }

  void theTreeViewerOpensTheTreeFileAndPagesThroughIt() {
    dir->Write("outtree.ph", "((a:1,b:1):1,c:2)First;\r\n(a,(b,c)70)Second;\r\n");
    desktop->program.Run(*FindByHandler(desktop->program.menu, "TreeViewer1Click"));
    TreeViewerWindow* viewer = desktop->pictures.TreeViewer();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(Position(*viewer), QString("Tree 1 of 2"));
    QVERIFY(!Button(*viewer, "< Previo&us")->isEnabled());
    QCOMPARE(viewer->Scene()->title, std::string("outtree.ph: tree 1 of 2, First"));
    Button(*viewer, "&Next >")->click();
    QCOMPARE(Position(*viewer), QString("Tree 2 of 2"));
    QVERIFY(!Button(*viewer, "&Next >")->isEnabled());
    QCOMPARE(viewer->Scene()->tree.nodes[2].name, std::string("70"));

    // In a narrow window the controls wrap to further lines: none is squeezed or cut off.
    viewer->resize(640, 500);
    QCoreApplication::processEvents();
    QCOMPARE(viewer->width(), 640);
    QList<QWidget*> controls;
    for (QPushButton* button : viewer->findChildren<QPushButton*>()) controls.append(button);
    for (QCheckBox* box : viewer->findChildren<QCheckBox*>()) controls.append(box);
    for (const QWidget* control : controls) {
      QVERIFY(control->width() >= control->sizeHint().width());
      QVERIFY(control->mapTo(viewer, QPoint(control->width(), 0)).x() <= viewer->width());
    }
  }

  void rootAtMidpointRedrawsTheTreeRootedAtItsMidpoint() {
    dir->Write("nj.ph", "(c:0.15,(a:0.1,b:0.12)80:0.05,d:0.3)NJx;\n");
    desktop->program.Run(*FindByHandler(desktop->program.menu, "TreeViewer1Click"));
    TreeViewerWindow* viewer = desktop->pictures.TreeViewer();
    viewer->OpenFile("nj.ph");
    QCheckBox* midpoint = nullptr;
    for (QCheckBox* box : viewer->findChildren<QCheckBox*>()) midpoint = box->text() == "Root at &midpoint" ? box : midpoint;
    QVERIFY(midpoint && !midpoint->isChecked());
    midpoint->click();
    QCOMPARE(viewer->Scene()->title, std::string("nj.ph: tree 1 of 1, NJx, rooted at its midpoint"));
    QCOMPARE(viewer->Scene()->tree.nodes[viewer->Scene()->layout.tips.front()].name, std::string("d"));
    midpoint->click();
    QCOMPARE(viewer->Scene()->tree.Root().children.size(), std::size_t{3});
  }

  void aTreeOfTwoThousandTipsOpensAndZooms() {
    std::string line = "(";
    for (int i = 0; i < 1000; ++i) line += (i ? ",(a" : "(a") + std::to_string(i) + ":1,b" + std::to_string(i) + ":1):1";
    dir->Write("big.ph", line + ");\n");
    desktop->program.Run(*FindByHandler(desktop->program.menu, "TreeViewer1Click"));
    TreeViewerWindow* viewer = desktop->pictures.TreeViewer();
    viewer->OpenFile("big.ph");
    viewer->repaint();
    Button(*viewer, "Zoom in")->click();
    viewer->repaint();
    QCOMPARE(viewer->Scene()->layout.tips.size(), std::size_t{2000});
  }

  void thePcoaPlotShowsTheLastAnalysis() {
    Run("PCoAPlot1Click");  // no analysis yet: a message, no window
    QVERIFY(!desktop->pictures.PcoaPlot());
    desktop->program.ws.ordination = Ordination{{2, 1}, {66.7, 33.3}, {1, 0, -1, 0.5, 0, -0.5}, LabelTable({"x", "y", "z"}), "StdJaccard",
                                             Fingerprint(desktop->program.ws.data)};
    Run("PCoAPlot1Click");
    PcoaPlotWindow* plot = desktop->pictures.PcoaPlot();
    QVERIFY(plot && plot->isVisible());
    QCOMPARE(plot->Scene()->layout.xTitle, std::string("PCo1 (66.7 %)"));
    QCOMPARE(plot->Scene()->layout.points.size(), std::size_t{3});
  }

 private:
  // Runs a command whose message boxes are closed at once.
  void Run(const char* handler) {
    desktop->host.SetResponder([](QDialog&) { return 0; });
    desktop->program.Run(*FindByHandler(desktop->program.menu, handler));
    desktop->host.SetResponder({});
  }

  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Desktop> desktop;
};

QTEST_MAIN(PictureWindowsTest)
#include "picture_windows_test.moc"
