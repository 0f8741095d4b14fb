# R's ade4 on the shape of bench/pairwise_phipt_bench.cpp: 20 populations of 50 individuals by
# 1000 loci, Euclidean distances computed once, then amova() and randtest() of every pair.
# Run: Rscript bench/ade4_pairwise_phipt.R [permutations] [pairs] (Debian r-cran-ade4; the
# default 999 permutations of all 190 pairs take long: fewer pairs give the time per pair).
suppressMessages(library(ade4))
arguments <- commandArgs(trailingOnly = TRUE)
permutations <- if (length(arguments) > 0) as.integer(arguments[1]) else 999L
pairs_wanted <- if (length(arguments) > 1) as.integer(arguments[2]) else 190L
set.seed(5)
populations <- 20; size <- 50; loci <- 1000
x <- matrix(0L, populations * size, loci)
for (l in 1:loci) {
  common <- runif(1)
  for (p in 1:populations) {
    rows <- ((p - 1) * size + 1):(p * size)
    x[rows, l] <- as.integer(runif(size) < 0.8 * common + 0.2 * runif(1))
  }
}
population <- rep(1:populations, each = size)
done <- 0
elapsed <- system.time({
  d <- as.matrix(dist(x))
  for (a in 2:populations) for (b in 1:(a - 1)) if (done < pairs_wanted) {
    rows <- population == a | population == b
    groups <- factor(population[rows])
    samples <- as.data.frame(model.matrix(~ -1 + groups))
    result <- amova(samples, as.dist(d[rows, rows]))
    test <- randtest(result, nrepet = permutations)
    done <- done + 1
  }
})["elapsed"]
cat(sprintf("ade4 pairwise PhiPT: %d pairs with %d permutations in %.2f s (%.3f s a pair; 190 pairs: %.1f s)\n",
            done, permutations, elapsed, elapsed / done, elapsed / done * 190))
