# Reads a GenePop or Structure file with adegenet, warnings counted as failures, and checks the
# numbers of individuals and loci, the names and (Structure) the populations.
# args: genepop FILE N_IND N_LOC NAMES
#       structure FILE N_IND N_LOC NAMES POPS(comma-separated, "" without)
options(warn = 2)
suppressMessages(library(adegenet))
args <- commandArgs(TRUE)
kind <- args[1]; file <- args[2]; n <- as.integer(args[3]); m <- as.integer(args[4])
names <- strsplit(args[5], ",")[[1]]
if (kind == "genepop") {
  x <- read.genepop(file, quiet = TRUE)
} else {
  pops <- args[6]
  x <- read.structure(file, n.ind = n, n.loc = m, onerowperind = TRUE, col.lab = 1,
                      col.pop = if (nchar(pops) > 0) 2 else 0, col.others = 0, row.marknames = 1,
                      NA.char = "-9", ask = FALSE, quiet = TRUE)
  if (nchar(pops) > 0) stopifnot(identical(as.character(pop(x)), strsplit(pops, ",")[[1]]))
}
stopifnot(nInd(x) == n, nLoc(x) == m, identical(indNames(x), names))
cat("adegenet read", nInd(x), "individuals\n")
