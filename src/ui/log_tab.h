// The Log tab: every status line of the session with the time it was reported, scrollable and
// searchable (the search field finds the next line holding its text, Enter finds the one after).
#pragma once

#include <QWidget>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace vorn::ui {

class LogTab : public QWidget {
 public:
  explicit LogTab(QWidget* parent = nullptr);

  // Adds line with its time stamp (the locale's long time format, as the log's start line has it).
  void Add(std::string_view time, std::string_view line);
  // Selects the next occurrence of text after the cursor, from the top again at the end; false
  // when the log does not hold it.
  bool Find(const QString& text);
  QPlainTextEdit& Text() { return *text_; }
  // Puts the keyboard in the search field (Ctrl+F).
  void FocusFind();

 private:
  QLineEdit* search_;
  QPlainTextEdit* text_;
};

}  // namespace vorn::ui
