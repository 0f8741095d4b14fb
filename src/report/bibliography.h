// The works a report's methods cite: each known by a key ("excoffier1992"), cited in the text by
// author and year, listed in full at the report's end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct Reference {
  std::string_view key;
  std::string_view cited;  // "Excoffier et al. 1992", as the text names it
  std::string_view entry;  // the full entry of the bibliography
};

// The reference of key; a key that is not known is a program fault, so it throws.
const Reference& ReferenceOf(std::string_view key);

// The entries of keys, each once, sorted as a bibliography is (by the key, which starts with the
// first author's name and holds the year).
std::vector<const Reference*> Bibliography(const std::vector<std::string>& keys);

}  // namespace vorn
