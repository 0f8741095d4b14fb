// The three scores a cell of the band matrix can hold, one byte each.
#pragma once

#include <cstdint>

namespace vorn {

using Cell = std::uint8_t;

enum BandState : Cell {
  Absence = 0,
  Presence = 1,
  Missing = 9,
};

inline bool IsBandState(Cell c) { return c == Absence || c == Presence || c == Missing; }

}  // namespace vorn
