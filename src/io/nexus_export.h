// The Nexus export: a TAXA block, the scores as a CHARACTERS or DATA block of datatype STANDARD or
// RESTRICTION, and on request the distances as a DISTANCES block (lower triangle with diagonal).
// Labels holding blanks or Nexus punctuation are written quoted ('B(2)', 'O''Hara'); labels that
// Nexus would read as one taxon (equal when upper and lower case are not told apart) are refused.
// The TAXA block and the labels also serve the Hickory export.
#pragma once

#include <string>
#include <string_view>

#include "core/distance_matrix.h"
#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"
#include "core/text_file.h"

namespace vorn {

inline constexpr const char* kNoNexusNames = "No individual names. Could not export to .nex";

struct NexusOptions {
  bool charactersBlock = true;  // CHARACTERS; otherwise DATA
  bool standard = true;         // DATATYPE STANDARD; otherwise RESTRICTION
  const DistanceMatrix* distances = nullptr;  // already turned into distances; none: no block
};

// A label as a Nexus word: cut to 20 characters, and quoted when it holds a blank, punctuation or
// a character that an unquoted word changes ("_" reads as a blank).
std::string NexusWord(std::string_view label);

// The refusals of both Nexus exports, before anything is written: no individual labels, labels
// that Nexus reads as the same taxon, cells without a score (badCell).
Status CheckNexusTaxa(const DataMatrix& matrix, std::string_view badCell);

// Refuses labels that Nexus reads as the same taxon (equal when upper and lower case are not told
// apart).
Status CheckNexusLabels(const LabelTable& labels);

// "BEGIN TAXA;" ... "END;" and an empty line.
void WriteTaxaBlock(TextFileWriter& file, const DataMatrix& matrix);
void WriteTaxaBlock(TextFileWriter& file, const LabelTable& labels);

// What CheckNexusTaxa refuses (a bad cell with the Nexus export's message) and score symbols
// that are blanks or Nexus punctuation.
Status CheckNexus(const DataMatrix& matrix, const FileLayout& symbols);

// Refuses (before anything is written) what CheckNexus refuses; then writes the file anew.
Status WriteNexus(const std::string& path, const DataMatrix& matrix, const FileLayout& symbols,
                  const NexusOptions& options);

}  // namespace vorn
