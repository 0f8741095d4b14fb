// Every user setting of a run, with its start-up default. Nothing is kept between runs: each
// start takes these values, and only the settings dialogs change them.
#pragma once

#include <cstdint>
#include <string>

#include "core/conventions.h"

namespace vorn {

// Output and input file names; relative names resolve against the current directory.
struct FileNames {
  std::string analysis = "analysis.txt";
  std::string tree = "outtree.ph";
  std::string consensusInput = "outtree.ph";
  std::string consensusOutput = "constree.ph";
  std::string log = "vornlog.txt";
};

// Layout and symbols of a data matrix file, shown in the file parameter dialog.
struct FileLayout {
  bool individualsInColumns = true;
  bool individualHeader = true;
  bool locusHeader = false;
  char presence = '1';
  char absence = '0';
  char ambiguity = '?';
  char openRemark = '{';
  char closeRemark = '}';
  char endOfData = '*';
  bool delimitedData = true;
  bool includeGroups = true;
  bool ambiguityNegative = false;  // saving only: "-" before each missing symbol

  bool operator==(const FileLayout&) const = default;
};

// Separators between fields of a data file; not user-settable.
inline bool IsDelimiter(char c) { return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

enum class SimilarityCoefficient : std::uint8_t { Jaccard = 0, Dice = 1, SMC = 2, NeiLi = 3, Euclidean = 4, SqEuclidean = 5 };
enum class SimilarityMode : std::uint8_t { Standard = 0, Minimum = 1, Maximum = 2, Average = 3 };
// 0..2 go with a similarity coefficient, 3..5 with a distance coefficient.
enum class DistanceTransformation : std::uint8_t {
  OneMinusS = 0, SqrtOneMinusS = 1, SquaredOneMinusS = 2, D = 3, SqrtD = 4, SquaredD = 5
};

struct SimilaritySettings {
  SimilarityCoefficient coefficient = SimilarityCoefficient::Jaccard;
  double neiLiR = 6.0;
  DistanceTransformation transformation = DistanceTransformation::OneMinusS;
  SimilarityMode amovaSimilarity = SimilarityMode::Standard;
  bool writeDistanceMatrix = false;
  bool writeSimilarityMatrix = true;
};

struct ReplicateSettings {
  bool useMDR = true;               // replace missing data in the Shannon bootstrap
  std::int32_t BS = 1000;           // bootstrap replicates
  std::int32_t TR = 100;            // tree replicates
  std::int32_t JC = 100;            // random draws per Average similarity entry
  std::int32_t SH = 10000;          // Shannon bootstrap replicates
};

struct RemovalThresholds {
  double individualMissing = 0.18;
  double locusMissing = 0.25;
  double locusFrequencyBelow = 0.05;
  double locusFrequencyAbove = 0.95;
  double individualFrequencyAbove = 0.7;
  double individualFrequencyBelow = 0.3;
};

enum class FrequencyBasis : std::uint8_t { RelativeToAllPresences = 0, PerIndividual = 1 };
enum class LogBase : std::uint8_t { Two = 0, E = 1, Ten = 2, Other = 3 };

struct ShannonScaling {
  FrequencyBasis frequencyBasis = FrequencyBasis::RelativeToAllPresences;
  LogBase logBase = LogBase::Two;
  Real baseValue = 2.0L;
};

struct ConsensusSettings {
  std::uint8_t majorityThreshold = 70;     // percent
  std::uint8_t rSupportThreshold = 100;    // percent
  std::int32_t rxThreshold = 10000;
  std::int32_t rFrom = 1;
  std::int32_t rTo = 10000;
  std::uint8_t precisionDigits = 1;
  bool outputInconsistentTrees = true;
  bool outputIndividualConsensusTrees = true;
  double stopInconsistentFraction = 0.5;   // -9.0 when unchecked
};

// The method of the replicate tree analyses (Options > Tree Method); R-support always uses UPGMA.
enum class TreeMethod : std::uint8_t { Upgma = 0, NeighborJoining = 1 };

enum class ConfidenceOutput : std::uint8_t { Significance = 0, PValue = 1 };

struct TTestSettings {
  bool bowmanVariance = false;
  bool bootstrappedVariance = false;
  ConfidenceOutput confidenceOutput = ConfidenceOutput::PValue;
  Real alpha = 0.05L;
  bool outputTdf = true;
  bool outputShannon = true;
};

// What writing a result to an output file that exists does: ask whether to append (the question
// every write asks by default), or give the same answer every time without asking.
enum class ExistingOutputFile : std::uint8_t { Ask = 0, Append = 1, Rewrite = 2 };

struct Settings {
  FileLayout layout;
  SimilaritySettings similarity;
  double missingDataReplacement = 0.5;
  ReplicateSettings replicates;
  RemovalThresholds removal;
  ShannonScaling shannon;
  ConsensusSettings consensus;
  TTestSettings ttest;
  std::int32_t amovaPermutations = 999;  // "AMOVA Permutation Test": permutations of each test
  TreeMethod treeMethod = TreeMethod::Upgma;
  ExistingOutputFile existingOutputFile = ExistingOutputFile::Ask;  // Options > Output Files
  // Options > Comparable Loci File: where every similarity command writes the loci scored in
  // both of each pair; "" for nowhere.
  std::string comparableLociFile;
  // Options > Corrected p-Values: Holm and Benjamini-Hochberg columns beside the p-values of
  // Pairwise PhiPT and the Shannon t-tests (the newer commands always show them).
  bool correctedPValues = false;
};

}  // namespace vorn
