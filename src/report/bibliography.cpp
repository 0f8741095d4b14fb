#include "report/bibliography.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace vorn {
namespace {

constexpr std::array<Reference, 28> kReferences = {{
    {"bonin2004", "Bonin et al. 2004",
     "Bonin A, Bellemain E, Bronken Eidesen P, Pompanon F, Brochmann C, Taberlet P (2004) How to track and assess "
     "genotyping errors in population genetics studies. Molecular Ecology 13: 3261-3273."},
    {"bowman1971", "Bowman et al. 1971",
     "Bowman KO, Hutcheson K, Odum EP, Shenton LR (1971) Comments on the distribution of indices of diversity. In: "
     "Statistical Ecology 3: 315-366."},
    {"bryant2004", "Bryant & Moulton 2004",
     "Bryant D, Moulton V (2004) Neighbor-Net: an agglomerative method for the construction of phylogenetic "
     "networks. Molecular Biology and Evolution 21: 255-265."},
    {"dice1945", "Dice 1945",
     "Dice LR (1945) Measures of the amount of ecologic association between species. Ecology 26: 297-302."},
    {"duchesne2002", "Duchesne & Bernatchez 2002",
     "Duchesne P, Bernatchez L (2002) AFLPOP: a computer program for simulated and real population allocation, based "
     "on AFLP data. Molecular Ecology Notes 2: 380-383."},
    {"efron1979", "Efron 1979",
     "Efron B (1979) Bootstrap methods: another look at the jackknife. Annals of Statistics 7: 1-26."},
    {"evanno2005", "Evanno et al. 2005",
     "Evanno G, Regnaut S, Goudet J (2005) Detecting the number of clusters of individuals using the software "
     "STRUCTURE: a simulation study. Molecular Ecology 14: 2611-2620."},
    {"excoffier1992", "Excoffier et al. 1992",
     "Excoffier L, Smouse PE, Quattro JM (1992) Analysis of molecular variance inferred from metric distances among "
     "DNA haplotypes: application to human mitochondrial DNA restriction data. Genetics 131: 479-491."},
    {"felsenstein1985", "Felsenstein 1985",
     "Felsenstein J (1985) Confidence limits on phylogenies: an approach using the bootstrap. Evolution 39: 783-791."},
    {"gower1966", "Gower 1966",
     "Gower JC (1966) Some distance properties of latent root and vector methods used in multivariate analysis. "
     "Biometrika 53: 325-338."},
    {"jakobsson2007", "Jakobsson & Rosenberg 2007",
     "Jakobsson M, Rosenberg NA (2007) CLUMPP: a cluster matching and permutation program for dealing with label "
     "switching and multimodality in analysis of population structure. Bioinformatics 23: 1801-1806."},
    {"hutcheson1970", "Hutcheson 1970",
     "Hutcheson K (1970) A test for comparing diversities based on the Shannon formula. Journal of Theoretical "
     "Biology 29: 151-154."},
    {"jaccard1908", "Jaccard 1908",
     "Jaccard P (1908) Nouvelles recherches sur la distribution florale. Bulletin de la Societe Vaudoise des "
     "Sciences Naturelles 44: 223-270."},
    {"kalinowski2004", "Kalinowski 2004",
     "Kalinowski ST (2004) Counting alleles with rarefaction: private alleles and hierarchical sampling designs. "
     "Conservation Genetics 5: 539-543."},
    {"lynch1994", "Lynch & Milligan 1994",
     "Lynch M, Milligan BG (1994) Analysis of population genetic structure with RAPD markers. Molecular Ecology 3: "
     "91-99."},
    {"mantel1967", "Mantel 1967",
     "Mantel N (1967) The detection of disease clustering and a generalized regression approach. Cancer Research 27: "
     "209-220."},
    {"nei1978", "Nei 1978",
     "Nei M (1978) Estimation of average heterozygosity and genetic distance from a small number of individuals. "
     "Genetics 89: 583-590."},
    {"nei1979", "Nei & Li 1979",
     "Nei M, Li WH (1979) Mathematical model for studying genetic variation in terms of restriction endonucleases. "
     "Proceedings of the National Academy of Sciences USA 76: 5269-5273."},
    {"paetkau2004", "Paetkau et al. 2004",
     "Paetkau D, Slade R, Burden M, Estoup A (2004) Genetic assignment methods for the direct, real-time estimation "
     "of migration rate: a simulation-based exploration of accuracy and power. Molecular Ecology 13: 55-65."},
    {"saitou1987", "Saitou & Nei 1987",
     "Saitou N, Nei M (1987) The neighbor-joining method: a new method for reconstructing phylogenetic trees. "
     "Molecular Biology and Evolution 4: 406-425."},
    {"schoenswetter2005", "Schoenswetter & Tribsch 2005",
     "Schoenswetter P, Tribsch A (2005) Vicariance and dispersal in the alpine perennial Bupleurum stellatum L. "
     "(Apiaceae). Taxon 54: 725-732."},
    {"shannon1948", "Shannon 1948",
     "Shannon CE (1948) A mathematical theory of communication. Bell System Technical Journal 27: 379-423."},
    {"smouse1999", "Smouse & Peakall 1999",
     "Smouse PE, Peakall R (1999) Spatial autocorrelation analysis of individual multiallele and multilocus genetic "
     "structure. Heredity 82: 561-573."},
    {"sneath1973", "Sneath & Sokal 1973",
     "Sneath PHA, Sokal RR (1973) Numerical Taxonomy. W. H. Freeman, San Francisco."},
    {"sokal1958", "Sokal & Michener 1958",
     "Sokal RR, Michener CD (1958) A statistical method for evaluating systematic relationships. University of "
     "Kansas Science Bulletin 38: 1409-1438."},
    {"sokal1962", "Sokal & Rohlf 1962",
     "Sokal RR, Rohlf FJ (1962) The comparison of dendrograms by objective methods. Taxon 11: 33-40."},
    {"spearman1904", "Spearman 1904",
     "Spearman C (1904) The proof and measurement of association between two things. American Journal of "
     "Psychology 15: 72-101."},
    {"zhivotovsky1999", "Zhivotovsky 1999",
     "Zhivotovsky LA (1999) Estimating population structure in diploids with multilocus dominant DNA markers. "
     "Molecular Ecology 8: 907-913."},
}};

}  // namespace

const Reference& ReferenceOf(std::string_view key) {
  for (const Reference& reference : kReferences) {
    if (reference.key == key) return reference;
  }
  throw std::logic_error("no reference " + std::string(key));
}

std::vector<const Reference*> Bibliography(const std::vector<std::string>& keys) {
  std::vector<const Reference*> entries;
  for (const std::string& key : keys) {
    const Reference* reference = &ReferenceOf(key);
    if (std::find(entries.begin(), entries.end(), reference) == entries.end()) entries.push_back(reference);
  }
  std::sort(entries.begin(), entries.end(), [](const Reference* a, const Reference* b) { return a->key < b->key; });
  return entries;
}

}  // namespace vorn
