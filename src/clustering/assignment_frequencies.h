// The band probabilities of a reference population in the assignment test: from its counts of
// scored references and of band absences at one locus, with the correction that keeps a band
// that was never seen absent (or never present) from making a profile impossible.
//
// With one population per cluster, P(band absent) = r^2 (diploid, dominant band) is estimated by
// the share of absences whatever the ploidy, so the estimate is that share itself.
#pragma once

#include <cstdint>

#include "core/conventions.h"

namespace vorn {

// P(band absent) among scored references, absent of them without the band (scored >= 1):
// absent / scored, except that an unseen state counts as 1 of scored + 1, so 0 becomes
// 1 / (scored + 1) and 1 becomes scored / (scored + 1).
Real AbsenceProbability(std::uint32_t absent, std::uint32_t scored);

}  // namespace vorn
