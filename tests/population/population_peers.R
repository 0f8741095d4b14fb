# The population statistics computed from their formulas, and PhiPT by ade4's amova, for
# tests/population/population_peers_test.cpp. Input: one individual per line, its population
# (from 1) and then its scores (1 presence, 0 absence, 9 missing). Prints one line per value:
#   div P N bands common private lc25 lc50 %P %P5 He seHe uHe seuHe Hj seHj HjLoci HjLeftOut unscored
#   (P = 0 for the row of every individual), nei A B D I, and without missing scores
#   phipt A B PhiPT p (ade4 amova on Euclidean distances, randtest with 999 permutations).
suppressMessages(library(ade4))
arguments <- commandArgs(trailingOnly = TRUE)
table <- as.matrix(read.table(arguments[1]))
population <- table[, 1]
x <- table[, -1, drop = FALSE]
x[x == 9] <- NA
populations <- sort(unique(population))
mean_se <- function(v) {
  if (length(v) == 0) return(c(NaN, NaN, 0))
  c(mean(v), if (length(v) > 1) sd(v) / sqrt(length(v)) else NaN, length(v))
}
tally <- function(rows) {
  s <- x[rows, , drop = FALSE]
  list(n = colSums(!is.na(s)), present = colSums(s == 1, na.rm = TRUE))
}
tallies <- lapply(populations, function(p) tally(population == p))
present_in <- Reduce(`+`, lapply(tallies, function(t) t$present > 0))
fmt <- function(v) paste(sprintf("%.17g", v), collapse = " ")
row_of <- function(index, t) {
  scored <- t$n > 0
  n <- t$n[scored]; pres <- t$present[scored]
  f <- pres / n; q <- sqrt(1 - f); p <- 1 - q
  he <- 2 * p * q; uhe <- he * 2 * n / (2 * n - 1)
  absent <- n - pres; kept <- absent > 3
  xa <- absent[kept] / n[kept]; nk <- n[kept]
  varx <- xa * (1 - xa) / nk
  ql <- sqrt(xa) / (1 - varx / (8 * xa^2))
  hj <- 2 * ql * (1 - ql) + 2 * (1 - xa) / (4 * nk)
  shared <- if (index > 0) {
    mine <- t$present > 0; common <- mine & t$n > 0 & t$present / pmax(t$n, 1) >= 0.05
    k <- length(populations)
    c(sum(mine & present_in == 1), sum(common & present_in <= k / 4), sum(common & present_in <= k / 2))
  } else c(-1, -1, -1)
  cat("div", index, if (index > 0) sum(population == populations[index]) else nrow(x), sum(pres > 0), sum(f >= 0.05),
      shared, fmt(c(100 * mean(f > 0 & f < 1), 100 * mean(q >= 0.05 & q <= 0.95), mean_se(he)[1:2], mean_se(uhe)[1:2],
                    mean_se(hj)[1:2])), sum(kept), sum(!kept), sum(!scored), "\n")
}
for (i in seq_along(populations)) row_of(i, tallies[[i]])
row_of(0, tally(rep(TRUE, nrow(x))))
for (a in seq_along(populations)) for (b in seq_along(populations)) if (b < a) {
  tx <- tallies[[a]]; ty <- tallies[[b]]; both <- tx$n > 0 & ty$n > 0
  qx <- sqrt(1 - tx$present[both] / tx$n[both]); qy <- sqrt(1 - ty$present[both] / ty$n[both])
  nx <- tx$n[both]; ny <- ty$n[both]
  jx <- mean((2 * nx * (qx^2 + (1 - qx)^2) - 1) / (2 * nx - 1))
  jy <- mean((2 * ny * (qy^2 + (1 - qy)^2) - 1) / (2 * ny - 1))
  jxy <- mean(qx * qy + (1 - qx) * (1 - qy))
  identity <- jxy / sqrt(jx * jy)
  cat("nei", b, a, fmt(c(-log(identity), identity)), "\n")
  if (!anyNA(x)) {
    rows <- population == populations[a] | population == populations[b]
    groups <- factor(population[rows])
    samples <- as.data.frame(model.matrix(~ -1 + groups))
    result <- amova(samples, dist(x[rows, , drop = FALSE]))
    set.seed(a * 100 + b)
    test <- randtest(result, nrepet = 999)
    cat("phipt", b, a, fmt(c(result$statphi[1, 1], test$pvalue)), "\n")
  }
}
