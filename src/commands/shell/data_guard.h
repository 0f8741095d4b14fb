// The guard of commands that describe or filter the matrix: data must be loaded, and the working
// matrix must hold at least one individual and one locus (a group or locus set without members
// can leave it empty), so that no share or frequency is ever taken of nothing.
#pragma once

#include <string_view>

#include "core/session.h"

namespace vorn {

inline constexpr const char* kEmptyMatrix = "The current data matrix holds no individuals or no loci.";

// True when the working matrix can be analysed; otherwise shows why (noData when nothing is loaded).
inline bool RequireMatrix(Session& session, std::string_view noData = "No data loaded!") {
  if (!session.RequireData(noData)) return false;
  if (session.ws.data.individualCount == 0 || session.ws.data.locusCount == 0) {
    session.ErrorBox(kEmptyMatrix);
    return false;
  }
  return true;
}

}  // namespace vorn
