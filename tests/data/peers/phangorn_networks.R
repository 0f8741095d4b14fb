# The network peers of the NeighborNet tests, from R's phangorn:
#   Rscript phangorn_networks.R net MATRIX          neighborNet() of MATRIX
#   Rscript phangorn_networks.R order MATRIX ORDER  neighborNet() with the circular order given
#                                                   (individuals from 1, comma-separated)
#   Rscript phangorn_networks.R read SPLITS         read.nexus.splits() of a Nexus file
#   Rscript phangorn_networks.R ordering MATRIX     the circular order alone that neighborNet()
#                                                   takes: "order", a tab and the individuals
# Each prints one line per split of weight above 1e-10: the individuals (from 1, ascending) of
# the side without the first individual, a tab and the weight (and, when read, a tab and the
# confidence); MATRIX is a comma-separated square matrix with the names on the first line.
suppressMessages(library(phangorn))
args <- commandArgs(trailingOnly = TRUE)
show_splits <- function(spl, labels, confidences = NULL) {
  w <- attr(spl, "weights")
  for (k in seq_along(spl)) {
    if (w[k] <= 1e-10) next
    side <- match(attr(spl, "labels")[spl[[k]]], labels)
    if (1 %in% side) side <- setdiff(seq_along(labels), side)
    line <- paste0(paste(sort(side), collapse = " "), "\t", sprintf("%.17g", w[k]))
    if (!is.null(confidences)) line <- paste0(line, "\t", confidences[k])
    cat(line, "\n", sep = "")
  }
}
if (args[1] == "net" || args[1] == "order") {
  d <- as.matrix(read.csv(args[2], check.names = FALSE))
  rownames(d) <- colnames(d)
  ord <- if (args[1] == "order") as.integer(strsplit(args[3], ",")[[1]]) else NULL
  show_splits(as.splits(neighborNet(as.dist(d), ord = ord)), colnames(d))
} else if (args[1] == "ordering") {
  d <- as.matrix(read.csv(args[2], check.names = FALSE))
  rownames(d) <- colnames(d)
  cat("order\t", paste(match(colnames(d)[phangorn:::getOrderingNN(d)], colnames(d)), collapse = ","), "\n", sep = "")
} else if (args[1] == "read") {
  spl <- read.nexus.splits(args[2])
  show_splits(spl, attr(spl, "labels"), attr(spl, "confidences"))
}
