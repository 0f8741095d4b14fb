// A layout that places its items left to right and starts a new line where the next one would
// not fit: a row of controls wraps in a narrow window instead of squeezing them.
#pragma once

#include <QLayout>
#include <QList>
#include <initializer_list>

namespace vorn::ui {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr) : QLayout(parent) {}
  ~FlowLayout() override;

  // Adds widgets as one unit that wraps as a whole (a label with its field, a row of buttons).
  void AddGroup(std::initializer_list<QWidget*> widgets);

  void addItem(QLayoutItem* item) override { items_.append(item); }
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  int Spacing() const;
  // Lays the items out in rect (placing them when place is true); gives the height they take.
  int Arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
};

}  // namespace vorn::ui
