# R ape's counterpart of the bootstrap Std. trees: boot.phylo with B replicates of the loci of a
# data file in Vorn's default layout, each tree from binary (Jaccard) distances and McQuitty's
# linkage (the unweighted-mean joining rule), or ape's nj() when the fourth argument is "nj", the
# trees written with write.tree. Missing scores are left out of each pair's distance, as dist()
# does with NA. Reading is not timed.
#   Rscript bench/ape_bootstrap_trees.R data.txt B out.ph [nj]
# Prints the seconds of the B replicates (Debian's r-cran-ape).
suppressMessages(library(ape))
args <- commandArgs(trailingOnly = TRUE)
lines <- readLines(args[1])
lines <- lines[!grepl("^\\{", lines) & lines != "*"]
names <- strsplit(lines[1], " ")[[1]]
scores <- do.call(rbind, strsplit(lines[-1], " "))
x <- t(ifelse(scores == "?", NA, scores == "1"))  # individuals x loci
rownames(x) <- names
tree <- if (isTRUE(args[4] == "nj")) {
  function(m) nj(dist(m, method = "binary"))
} else {
  function(m) as.phylo(hclust(dist(m, method = "binary"), method = "mcquitty"))
}
B <- as.integer(args[2])
elapsed <- system.time({
  boot <- boot.phylo(tree(x), x, tree, B = B, trees = TRUE, quiet = TRUE)
  write.tree(boot$trees, file = args[3])
})[["elapsed"]]
cat(sprintf("%.3f\n", elapsed))
