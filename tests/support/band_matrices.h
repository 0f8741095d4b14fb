// Random band matrices with names, and every combination of the file layout switches, for the
// tests of the data file reader and writer.
#pragma once

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/settings.h"

namespace vorn::testing {

// individuals x loci random scores (each state equally likely) with names ind_0, ind_7, ...
// and band100, band101, ...
inline DataMatrix RandomMatrix(std::size_t individuals, std::size_t loci, unsigned seed) {
  std::mt19937 random(seed);
  DataMatrix m;
  m.individualCount = static_cast<std::uint16_t>(individuals);
  m.locusCount = static_cast<std::uint16_t>(loci);
  const Cell states[3] = {Absence, Presence, Missing};
  for (std::size_t k = 0; k < individuals * loci; ++k) m.cells.push_back(states[random() % 3]);
  for (std::size_t i = 0; i < individuals; ++i) m.individualLabels.Add("ind_" + std::to_string(i * 7));
  for (std::size_t l = 0; l < loci; ++l) m.locusLabels.Add("band" + std::to_string(100 + l));
  return m;
}

struct NamedLayout {
  FileLayout layout;
  std::string description;  // for failure traces
};

// The sixteen layouts of orientation, the two name boxes and delimiting, other settings default.
inline std::vector<NamedLayout> EveryLayout() {
  std::vector<NamedLayout> layouts;
  for (bool inColumns : {true, false}) {
    for (bool individualHeader : {true, false}) {
      for (bool locusHeader : {true, false}) {
        for (bool delimited : {true, false}) {
          NamedLayout named;
          named.layout.individualsInColumns = inColumns;
          named.layout.individualHeader = individualHeader;
          named.layout.locusHeader = locusHeader;
          named.layout.delimitedData = delimited;
          std::ostringstream text;
          text << "columns=" << inColumns << " individualHeader=" << individualHeader << " locusHeader=" << locusHeader
               << " delimited=" << delimited;
          named.description = text.str();
          layouts.push_back(named);
        }
      }
    }
  }
  return layouts;
}

}  // namespace vorn::testing
