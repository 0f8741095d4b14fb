# R phangorn's neighborNet() on the Jaccard distances of a data file in Vorn's default layout
# (no missing scores, so that dist(binary) is 1 - Jaccard): the seconds of neighborNet() alone,
# its circular order and split weights included, as the peer of Trees > NeighborNet.
#   Rscript bench/phangorn_neighbor_net.R data.txt    (Debian r-cran-phangorn)
suppressMessages(library(phangorn))
args <- commandArgs(trailingOnly = TRUE)
lines <- readLines(args[1])
lines <- lines[lines != "*"]
names <- strsplit(lines[1], " ")[[1]]
scores <- do.call(rbind, strsplit(lines[-1], " "))
x <- t(scores == "1")
rownames(x) <- names
d <- dist(x, method = "binary")
cat(sprintf("%.3f\n", system.time(neighborNet(d))[["elapsed"]]))
