# vegan's mantel (Pearson, 999 permutations) on 2000 random points and random distances that grow
# with theirs, the shape of bench/mantel_bench.cpp; prints the seconds of the test alone.
suppressMessages(library(vegan))
set.seed(9)
n <- 2000
points <- matrix(runif(2 * n) * 100, ncol = 2)
geographic <- dist(points)
genetic <- geographic / 150 + runif(length(geographic))
seconds <- system.time(test <- mantel(genetic, geographic, method = "pearson", permutations = 999))[["elapsed"]]
cat(sprintf("vegan mantel, %d individuals, 999 permutations: %.2f s (r = %.4f, p = %.4f)\n",
            n, seconds, test$statistic, test$signif))
