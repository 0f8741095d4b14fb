# The tree peers of the neighbor-joining, support and cophenetic tests, from R's ape:
#   Rscript ape_trees.R nj MATRIX TREE       exit 0 when TREE is ape's nj() of MATRIX: the same
#                                            unrooted topology and path lengths within 1e-9
#   Rscript ape_trees.R cophenetic MATRIX TREE   prints cor(as.dist(D), cophenetic(tree))
#   Rscript ape_trees.R clades REF REPLICATES    prints, per inner node of REF, its sorted tips
#                                               and the count of prop.clades(rooted = TRUE)
# MATRIX is a comma-separated square matrix with the names on the first line.
suppressMessages(library(ape))
args <- commandArgs(trailingOnly = TRUE)
read_matrix <- function(path) as.matrix(read.csv(path, check.names = FALSE))

if (args[1] == "nj") {
  d <- read_matrix(args[2])
  rownames(d) <- colnames(d)
  theirs <- nj(as.dist(d))
  ours <- read.tree(args[3])
  rf <- dist.topo(unroot(ours), unroot(theirs))
  o <- colnames(d)
  gap <- max(abs(cophenetic(ours)[o, o] - cophenetic(theirs)[o, o]))
  cat("RF", rf, "largest path difference", gap, "\n")
  quit(status = if (rf == 0 && gap <= 1e-9) 0 else 1)
} else if (args[1] == "cophenetic") {
  d <- read_matrix(args[2])
  rownames(d) <- colnames(d)
  tree <- read.tree(args[3])
  o <- colnames(d)
  cat(sprintf("%.17g\n", cor(as.dist(d), as.dist(cophenetic(tree)[o, o]))))
} else if (args[1] == "clades") {
  ref <- read.tree(args[2])
  reps <- read.tree(args[3])
  counts <- prop.clades(ref, reps, rooted = TRUE)
  parts <- prop.part(ref)
  n <- Ntip(ref)
  for (k in seq_along(parts)) {
    if (k == 1) next  # the root
    cat(paste(sort(ref$tip.label[parts[[k]]]), collapse = ","), counts[k], "\n")
  }
}
