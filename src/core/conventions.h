// Conventions shared by every layer of Vorn. Read this first.
//
// Numbers
//   Real            80-bit extended real; every statistic, coefficient and matrix entry is one.
//   Counts of individuals and loci are 16-bit (at most 65535); cell positions are 32-bit.
//
// Indices
//   Inside the code individuals and loci are counted from 0. Texts shown to the user and labels
//   such as "OTU7" or "Locus12" count from 1, as do the counting queries named after the menu
//   texts (LocusStateCount(l, s) takes the 1-based locus).
//
// Cells
//   A score block is locus-major: the score of individual i at locus l lies at l * N + i, so the
//   scores of one locus are adjacent. Every reader, writer, filter and coefficient uses this
//   one layout, whatever the orientation of the file it came from.
//
// Names
//   `...Count` is a number of things; `Cells` is a score block; a function that may fail returns
//   Result<T>, whose error is the text to show the user. Parameters go inputs first, then
//   in/out, then outputs.
//
// Texts
//   All texts are 8-bit strings in the Windows-1252 code page, as the data files are. A line
//   break inside a message is "\r\n"; text files end their lines with CR LF.
//
// Layers
//   core  <- io, groups, stats, similarity, trees, replicates  <- commands  <- script, ui
//   Nothing below commands knows which host runs; analyses return results or failures and the
//   command handler shows them.
#pragma once

#include <cstdint>

namespace vorn {

using Real = long double;

}  // namespace vorn
