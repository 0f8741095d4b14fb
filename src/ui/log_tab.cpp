#include "ui/log_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace vorn::ui {

LogTab::LogTab(QWidget* parent) : QWidget(parent), search_(new QLineEdit), text_(new QPlainTextEdit) {
  search_->setPlaceholderText("Find in the log");
  search_->setClearButtonEnabled(true);
  auto* label = new QLabel("F&ind:");
  label->setBuddy(search_);
  auto* top = new QHBoxLayout;
  top->addWidget(label);
  top->addWidget(search_, 1);
  text_->setReadOnly(true);
  text_->setUndoRedoEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
    text_->moveCursor(QTextCursor::Start);
    Find(text);
  });
  connect(search_, &QLineEdit::returnPressed, this, [this] { Find(search_->text()); });
}

void LogTab::Add(std::string_view time, std::string_view line) {
  QScrollBar* bar = text_->verticalScrollBar();
  const bool following = bar->value() >= bar->maximum();
  text_->appendPlainText(ToQt(time) + QStringLiteral("  ") + ToQt(line));
  if (following) bar->setValue(bar->maximum());
}

void LogTab::FocusFind() {
  search_->setFocus(Qt::ShortcutFocusReason);
  search_->selectAll();
}

bool LogTab::Find(const QString& text) {
  if (text.isEmpty()) return false;
  if (text_->find(text)) return true;
  text_->moveCursor(QTextCursor::Start);
  return text_->find(text);
}

}  // namespace vorn::ui
