// The assignment test of individuals to reference populations (Duchesne & Bernatchez 2002):
// the likelihood of an individual's band profile in each population from the populations' band
// frequencies, loci independent, P(absent) = AbsenceProbability of the population's references
// at the locus. A reference individual is left out of its own population (of each, when it
// belongs to several); individuals set aside as assigned only are no population's reference.
//
// The loci of an individual are those scored in it and in at least one reference of every
// population (after leaving it out), so that its likelihoods are comparable.
//
// Significance (Paetkau et al. 2004): profiles simulated from a population's probabilities over
// the individual's loci; p = (simulated likelihoods <= the individual's, + 1) / (simulations + 1).
// The draws come from the program's generator as from one serial loop: for each individual in
// order, each population in order, each simulation, one NextReal per locus (absent when below
// P(absent)). Individuals run on all cores with the same p on any number of them; afterwards the
// generator stands where the serial loop would leave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"

namespace vorn {

struct ReferencePopulation {
  std::string name;
  std::vector<std::uint32_t> individuals;  // positions in the data, ascending
};

struct AssignedIndividual {
  std::uint32_t individual = 0;
  std::vector<std::size_t> homes;  // the populations it is a reference of (none: assigned only)
  std::size_t loci = 0;
  std::vector<Real> log10Likelihoods;  // per population
  std::size_t assigned = 0;            // the most likely population (the first of equals)
  Real ratio = 0;                      // log10 L(assigned) - log10 L(second most likely)
  std::vector<Real> p;                 // per population, with simulations
};

struct AssignmentResult {
  std::vector<AssignedIndividual> rows;  // in data order
  std::vector<std::uint32_t> leftOut;    // individuals without a locus of their own to compare by
  std::size_t polymorphicLoci = 0;       // among the references
  std::int32_t simulations = 0;
};

// The populations without the individuals of assignedOnly (positions in the data), those left
// without references dropped: what remains is the reference the test is given.
std::vector<ReferencePopulation> SetAside(const std::vector<ReferencePopulation>& populations,
                                          const std::vector<std::uint32_t>& assignedOnly);

// The individuals the test assigns: every reference and every one of assignedOnly, in data order.
std::vector<std::uint32_t> IndividualsToAssign(std::size_t individualCount,
                                               const std::vector<ReferencePopulation>& populations,
                                               const std::vector<std::uint32_t>& assignedOnly);

// Assigns every reference individual and every one of assignedOnly (positions in the data, no
// population's references). Fails with fewer than two populations, a
// population with fewer than two references, or fewer than two loci polymorphic among the
// references. progress is told the individuals simulated; when it asks to stop, the test fails
// without message and the generator stands past the individuals done.
Result<AssignmentResult> AssignmentTest(const DataMatrix& data, const std::vector<ReferencePopulation>& populations,
                                        const std::vector<std::uint32_t>& assignedOnly, std::int32_t simulations,
                                        RandomGenerator& random, const StepProgress& progress = {});

}  // namespace vorn
