# R ape's nj() on the Jaccard distances of a data file in Vorn's default layout: the seconds of
# nj() alone (reading and the distances are not timed), as the peer of Trees > Neighbor-Joining.
#   Rscript bench/ape_nj.R data.txt    (Debian r-cran-ape)
suppressMessages(library(ape))
args <- commandArgs(trailingOnly = TRUE)
lines <- readLines(args[1])
lines <- lines[lines != "*"]
names <- strsplit(lines[1], " ")[[1]]
scores <- do.call(rbind, strsplit(lines[-1], " "))
x <- t(ifelse(scores == "?", NA, scores == "1"))
rownames(x) <- names
d <- dist(x, method = "binary")
cat(sprintf("%.3f\n", system.time(nj(d))[["elapsed"]]))
