// A one-line label that gives up width before its neighbours do: too narrow for its text, it
// shows the text cut with an ellipsis and the whole text as its tooltip. text() stays whole.
#pragma once

#include <QLabel>

namespace vorn::ui {

class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vorn::ui
