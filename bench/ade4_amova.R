# R's ade4 on the shape of bench/amova_bench.cpp: 2000 individuals by 1000 loci in 10
# populations of 200 in 2 regions, Euclidean distances (ade4 squares them). Times dist(),
# amova() and randtest(amova, permutations). Run: Rscript bench/ade4_amova.R [permutations]
# (Debian r-cran-ade4; default 999, which takes many minutes: a smaller count gives the time per
# permutation).
suppressMessages(library(ade4))
arguments <- commandArgs(trailingOnly = TRUE)
permutations <- if (length(arguments) > 0) as.integer(arguments[1]) else 999L
set.seed(5)
n <- 2000; loci <- 1000; size <- 200
population <- factor(rep(sprintf("P%02d", 1:10), each = size))
region <- factor(rep(c("R0", "R1"), each = 5))
x <- matrix(0L, n, loci)
for (l in 1:loci) {
  regional <- runif(2)
  for (p in 1:10) {
    frequency <- 0.7 * regional[(p - 1) %/% 5 + 1] + 0.3 * runif(1)
    x[((p - 1) * size + 1):(p * size), l] <- as.integer(runif(size) < frequency)
  }
}
samples <- as.data.frame(model.matrix(~ -1 + population))
colnames(samples) <- levels(population)
structures <- data.frame(region = region)
t_dist <- system.time(d <- dist(x))["elapsed"]
cat(sprintf("dist: %.2f s\n", t_dist))
t_amova <- system.time(a <- amova(samples, d, structures))["elapsed"]
cat(sprintf("ade4 amova: %.2f s\n", t_amova))
t_test <- system.time(r <- randtest(a, nrepet = permutations))["elapsed"]
cat(sprintf("ade4 randtest.amova (%d): %.2f s, %.3f s a permutation\n", permutations, t_test, t_test / permutations))
print(a$statphi)
print(r)
