// Number texts shared by every result file and message. The decimal separator is always ".",
// whatever the user's locale.
#pragma once

#include <string>

#include "core/conventions.h"

namespace vorn {

// x in fixed notation with the given decimals, right-aligned in at least width characters. A
// number that rounds to zero is written without a sign ("0.00", never "-0.00"); a value that is
// not a number is written "NaN", an infinite one "Inf" or "-Inf".
std::string FormatFixed(Real x, int decimals, int width = 0);

// Appends x in fixed notation with the given decimals to text, exactly as FormatFixed writes it;
// quick for the values result matrices hold, for writing millions of them.
void AppendFixed(std::string& text, Real x, int decimals);

// The quick form of fixed notation, for writers of many numbers: x with decimals (at most 18)
// right-aligned in at least width characters, written at out; gives the end of the text, or
// nullptr for what needs AppendFixed (not a finite number below 2^63 in magnitude). out needs
// room for the longer of width and kPutFixedRoom + decimals characters.
inline constexpr int kPutFixedRoom = 24;
char* PutFixed(char* out, Real x, int decimals, int width);

// Fixed notation with 9 decimals (0.5 -> "0.500000000"), never padded: a number's text is always
// longer than the field of 10 it is meant for, and "NaN", "Inf" and "-Inf" stand as they are.
inline std::string FormatReal(Real x) { return FormatFixed(x, 9); }

// x * 100 with 2 decimals in at least 5 characters, then " %" (0.05 -> " 5.00 %").
inline std::string FormatPercent(Real x) { return FormatFixed(x * 100, 2, 5) + " %"; }

inline std::string BoolText(bool b) { return b ? "true" : "false"; }

// The shortest text that reads back as the same double (6.0 -> "6", 0.1 -> "0.1").
std::string FormatShortest(double x);
// The same for an extended real: the shortest text that reads back as the same Real.
std::string FormatShortestReal(Real x);

}  // namespace vorn
