// A cursor shape for the lifetime of a scope: the busy cursor while a command runs, the normal
// one while a modal window waits for the user inside that command. Shapes nest.
#pragma once

#include <QGuiApplication>

namespace vorn::ui {

class ScopedCursor {
 public:
  explicit ScopedCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(QCursor(shape)); }
  ~ScopedCursor() { QGuiApplication::restoreOverrideCursor(); }
  ScopedCursor(const ScopedCursor&) = delete;
  ScopedCursor& operator=(const ScopedCursor&) = delete;
};

}  // namespace vorn::ui
