// Storage for the 80-bit reals the Jacobi rotations work on. The x87 unit loads and stores the
// extended format several times slower than it multiplies, so a slot usually holds its value as
// the sum of two doubles: the nearest double and the rest, which has at most 11 significant bits.
// Loading adds the two (exactly: the sum has 64 significant bits), storing rounds and subtracts
// (exactly). Nothing is lost unless a double store overflows or underflows, and then the x87
// status flags say so: the owner of the slots then works in the extended format instead.
#pragma once

#include <cstdint>

#include "core/conventions.h"

namespace vorn {

union RealSlot {
  Real extended;
  struct {
    double high, low;  // the value rounded to a double, and the rest
  } split;
};
static_assert(sizeof(RealSlot) == sizeof(Real), "a slot takes the room of one Real");

struct ExtendedSlots {
  static Real Load(const RealSlot& x) { return x.extended; }
  static void Store(RealSlot& x, Real value) { x.extended = value; }
};

struct SplitSlots {
  static Real Load(const RealSlot& x) { return Real(x.split.high) + x.split.low; }
  // high = value rounded, low = -(high - value): the same as value - high, but -0 for a zero, so
  // that -0 comes back as -0. Written out because the compiler otherwise builds the pair on the
  // stack and moves it as one vector, which stalls on the two stores it just made.
  static void Store(RealSlot& x, Real value) {
    asm("fstl %0\n\tfsubrl %0\n\tfchs\n\tfstpl %1" : "=m"(x.split.high), "=m"(x.split.low) : "t"(value) : "st");
  }
};

// The x87 flags for an invalid operation, an overflow and an underflow with loss of bits. Clear
// them, store; if SplitStoresExact() still holds, every split store since gives its value back.
// Other x87 work in between may raise them too: that costs the fast format, never a bit.
inline void ClearX87Flags() { asm volatile("fnclex" ::: "memory"); }
inline bool SplitStoresExact() {
  std::uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status)::"memory");
  constexpr std::uint16_t kInvalid = 0x01, kOverflow = 0x08, kUnderflow = 0x10;
  return (status & (kInvalid | kOverflow | kUnderflow)) == 0;
}

}  // namespace vorn
