# adegenet's find.clusters on the scores of bench/numpy_admixture_em.py (2 = missing, replaced by
# the locus mean as adegenet does): the reference time of what users run today.
suppressMessages(library(adegenet))
args <- commandArgs(trailingOnly = TRUE)
lines <- readLines(args[1])
scores <- do.call(rbind, lapply(strsplit(lines, ""), as.integer))
scores[scores == 2] <- NA
x <- new("genlight", scores, ploidy = 1)
time <- system.time(found <- find.clusters(x, n.pca = 50, max.n.clust = 6, choose.n.clust = FALSE,
                                           criterion = "min", n.iter = 1e5, n.start = 10))
cat(sprintf("adegenet find.clusters: %.3f s, K = %d by BIC\n", time[["elapsed"]], length(levels(found$grp))))
