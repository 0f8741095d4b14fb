#include "core/label_table.h"

#include "core/text_encoding.h"

namespace vorn {

// Labels are UTF-8 and cut at a character boundary; text that is not valid UTF-8 is read as
// Windows-1252 (Latin-1) first, so no label ends inside a character and every file it reaches is
// UTF-8.
std::string CutLabel(std::string_view text) {
  return std::string(FirstCharacters(DisplayText(text), kLabelLength));
}

LabelTable::LabelTable(std::vector<std::string> labels) {
  labels_.reserve(labels.size());
  for (const auto& label : labels) Add(label);
}

void LabelTable::Add(std::string_view text) { labels_.push_back(CutLabel(text)); }

long LabelTable::Find(std::string_view name) const {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    if (labels_[i] == name) return static_cast<long>(i);
  }
  return -1;
}

LabelTable MakeNumberedLabels(std::string_view prefix, std::size_t count) {
  LabelTable table;
  for (std::size_t n = 1; n <= count; ++n) table.Add(std::string(prefix) + std::to_string(n));
  return table;
}

}  // namespace vorn
