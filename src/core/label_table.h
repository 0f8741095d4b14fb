// A table of individual or locus labels: at most 65535 texts of at most 20 characters each.
// The table's size is its label count, which equals the matching matrix dimension whenever
// data are loaded; an empty table stands for "no labels".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

inline constexpr std::size_t kLabelLength = 20;
inline constexpr std::size_t kMaxLabels = 65535;

// The first 20 characters of text: the form in which every label and member name is kept.
std::string CutLabel(std::string_view text);

class LabelTable {
 public:
  LabelTable() = default;
  explicit LabelTable(std::vector<std::string> labels);

  // Appends text cut to 20 characters.
  void Add(std::string_view text);
  void Clear() { labels_.clear(); }

  std::size_t Count() const { return labels_.size(); }
  bool Empty() const { return labels_.empty(); }
  const std::string& operator[](std::size_t index) const { return labels_[index]; }
  const std::vector<std::string>& All() const { return labels_; }

  // Position (from 0) of the first label equal to name, or -1.
  long Find(std::string_view name) const;

  bool operator==(const LabelTable&) const = default;

 private:
  std::vector<std::string> labels_;
};

// "OTU1" ... "OTUn" or "Locus1" ... "Locusn".
LabelTable MakeNumberedLabels(std::string_view prefix, std::size_t count);
inline LabelTable MakeDefaultIndividualLabels(std::size_t count) { return MakeNumberedLabels("OTU", count); }
inline LabelTable MakeDefaultLocusLabels(std::size_t count) { return MakeNumberedLabels("Locus", count); }

}  // namespace vorn
