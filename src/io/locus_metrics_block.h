// The [LocusMetrics] block that follows the group blocks in a data file whose loci carry a
// service's locus metrics, written and read:
//
//   [LocusMetrics]
//   Locus, CallRate, PIC, Reproducibility
//   100023, 0.987, 0.4375, 1
//   100187, 0.9, NA, 0.995
//   *
//
// The title line names the metrics; then one line per locus, in the order of the table, with the
// locus's name as the reader gives it back (the numbered defaults where the table writes no
// locus names) and its values in their shortest exact form, "NA" where it
// has none; "*" closes the block. Spaces and tabs carry no meaning. Readers that know only the
// group blocks look for their own headers and pass over this one.
#pragma once

#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/text_file.h"

namespace vorn {

inline constexpr std::string_view kLocusMetricsHeader = "[LocusMetrics]";

// Refuses metrics the block could not give back: a written locus name that holds "," (the block
// splits its lines there).
Status CheckWritableMetrics(const LocusMetrics& metrics, const std::vector<std::string>& locusNames);

// Writes the block (an empty line first); nothing for data without metrics. locusNames are the
// names the table was written with.
void WriteMetricsBlock(TextFileWriter& file, const LocusMetrics& metrics, const std::vector<std::string>& locusNames);

// The metrics of the file's block for the loci of data (the data as read from the same file);
// none when the file has no block. Refuses, naming the file's line: a title line that does not
// start with "Locus" or repeats a metric, a line whose number of values differs from the
// titles', a locus that is not the data's locus at that place, a value that is neither a number
// nor "NA", fewer or more loci than the data hold, and a block not closed by "*".
Result<LocusMetrics> ReadMetricsBlock(const std::string& path, const DataMatrix& data);

}  // namespace vorn
