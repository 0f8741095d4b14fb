// Every combination of the file layout switches, for the tests of the data file reader and
// writer.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/settings.h"

namespace vorn::testing {

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
