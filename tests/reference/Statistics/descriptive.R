# Reference values for the location, dispersion and order statistics, the rank transforms, the
# distinct values and the row and column ranges.
#
# Quantiles: four of the library's five definitions are R's quantile types, so R computes them:
#   pctMethodNPlus = type 6, pctMethodNMinus = type 7, pctMethodClosestN = type 3,
#   pctMethodEDF = type 1.
# pctMethodEDFAve averages x(ceil(nP)) and x(ceil(nP) + 1) where nP is NOT whole and takes
# x(nP) where it is, the reverse of R's type 2, so its values apply that rule (edf_ave below)
# to R's order statistics sort(x). The script also checks that the rule, written the same way
# for the other four methods, agrees with R's types.
#
# The trimmed mean keeps the values between the type-6 quantiles at Percent/2 and
# 1 - Percent/2 (Percent is the fraction trimmed in total), which is not R's mean(x, trim):
# its values apply that rule to R's quantiles.
#
# Run: Rscript descriptive.R  (writes descriptive_data.txt, percentile.txt, descriptive.txt,
# ranks.txt, tie_correction.txt, unique.txt, ranges_data.txt and ranges.txt)

set.seed(20261206)
fmt <- function(x) formatC(x, digits = 17, format = "g")

faithful <- read.csv("../../../examples/data/faithful.csv")
sleep <- read.csv("../../../examples/data/sleep.csv")

samples <- list(
  sleep$extra,                          # 0: 20 values, negatives, zeros and ties
  faithful$waiting,                     # 1: 272 whole minutes, many ties
  faithful$eruptions,                   # 2: 272 values in 3 decimals, ties
  rep(2.5, 8),                          # 3: constant
  1e-300 * rlnorm(9),                   # 4: a product would underflow
  1e6 + runif(13),                      # 5: far from zero
  sample(rep(c(0, 1), c(1500, 2000))),  # 6: two tie groups of more than 1290 values
  rpois(15, 3) + 1,                     # 7: small counts
  rpois(500, 3) + 1                     # 8
)
for (n in c(1, 2, 3, 4, 5, 7, 10, 11, 12, 20, 31, 50, 64, 101, 1000)) {
  samples[[length(samples) + 1]] <- rlnorm(n, 1, 0.8)
}
for (n in c(6, 9, 30, 200)) {
  samples[[length(samples) + 1]] <- round(rgamma(n, 2, 1), 1) + 0.1
}

# The library's quantile rules on the order statistics xs, P in [0, 1].
rule <- function(xs, p, method) {
  n <- length(xs)
  at <- function(k) xs[max(1, min(n, k))]
  interp <- function(r) {
    k <- trunc(r); f <- r - k
    if (k < 1) return(xs[1])
    if (k > n - 1) return(xs[n])
    if (f == 0 || xs[k] == xs[k + 1]) return(xs[k])
    (1 - f) * xs[k] + f * xs[k + 1]
  }
  r <- n * p
  f <- r - trunc(r)
  switch(method + 1,
         interp(p * (n + 1)),
         interp(p * (n - 1) + 1),
         at(round(r)),  # R's round() takes a half to the even neighbour
         at(if (f != 0) trunc(r) + 1 else r),
         if (f == 0) at(r) else {
           k <- ceiling(r)
           if (k > n - 1) xs[n] else (xs[k] + xs[k + 1]) * 0.5
         })
}
r_types <- c(6, 7, 3, 1)

data_lines <- "case value"
pct_lines <- "case n p method value"
desc_lines <- paste("case n mean meang meanh meant0 meant10 meant25 meant50 meant90 mode",
                    "moment2 moment3 moment4 iqr0 iqr1 iqr2 iqr3 iqr4")
rank_lines <- "case i rank tied"
tie_lines <- "case n tiecorrection"
unique_lines <- "case value count"
worst_rule <- 0

for (k in seq_along(samples)) {
  x <- samples[[k]]
  id <- k - 1
  n <- length(x)
  xs <- sort(x)
  data_lines <- c(data_lines, paste(id, fmt(x)))

  # Probabilities: the round ones, the order-statistic positions of each rule (where the
  # discontinuous rules jump) and a few random ones.
  j <- unique(round(seq(0, n, length.out = min(n + 1, 12))))
  p <- c(0, 1, 0.5, 0.25, 0.75, 0.1, 0.9, 0.01, 0.99, j / n, (j + 0.5) / n, j / (n + 1))
  if (n > 1) p <- c(p, (j - 1) / (n - 1))
  p <- c(p, runif(4))
  p <- unique(p[p >= 0 & p <= 1])
  for (pi in p) {
    for (m in 0:4) {
      v <- rule(xs, pi, m)
      if (m < 4) {
        q <- unname(quantile(x, pi, type = r_types[m + 1]))
        worst_rule <- max(worst_rule, abs(q - v) / max(abs(q), 1e-300))
        v <- q
      }
      pct_lines <- c(pct_lines, paste(id, n, fmt(pi), m, fmt(v)))
    }
  }

  meant <- function(pc) {
    lo <- rule(xs, 0.5 * pc, 0)
    hi <- rule(xs, 1 - 0.5 * pc, 0)
    kept <- xs[xs >= lo & xs <= hi]
    if (length(kept) == 0) NaN else mean(kept)
  }
  u <- sort(unique(x))
  cnt <- tabulate(match(x, u), length(u))
  mode <- if (max(cnt) < 2) NaN else u[which.max(cnt)]
  mu <- mean(x)
  iqr <- sapply(0:4, function(m) rule(xs, 0.75, m) - rule(xs, 0.25, m))
  iqr[1:4] <- sapply(r_types, function(t) unname(diff(quantile(x, c(0.25, 0.75), type = t))))
  desc_lines <- c(desc_lines, paste(
    id, n, fmt(mu), fmt(suppressWarnings(exp(mean(log(x))))), fmt(1 / mean(1 / x)),
    paste(fmt(sapply(c(0, 0.1, 0.25, 0.5, 0.9), meant)), collapse = " "), fmt(mode),
    fmt(mean((x - mu)^2)), fmt(mean((x - mu)^3)), fmt(mean((x - mu)^4)),
    paste(fmt(iqr), collapse = " ")))

  rank_lines <- c(rank_lines, paste(id, seq_len(n) - 1, fmt(rank(x, ties.method = "first")),
                                    fmt(rank(x, ties.method = "average"))))
  tie_lines <- c(tie_lines, paste(id, n, fmt(sum((cnt^3 - cnt) / 2))))
  unique_lines <- c(unique_lines, paste(id, fmt(u), cnt))
}
stopifnot(worst_rule < 1e-13)

# Row and column ranges of a few matrices, written row by row.
mats <- list(matrix(rnorm(12), 3, 4), matrix(round(runif(35) * 10), 7, 5),
             matrix(rlnorm(1), 1, 1), matrix(rnorm(40, 100, 5), 1, 40), matrix(rnorm(40), 40, 1))
mdata_lines <- "case rows cols value"
range_lines <- "case dim index range"
for (k in seq_along(mats)) {
  m <- mats[[k]]
  mdata_lines <- c(mdata_lines, paste(k - 1, nrow(m), ncol(m), fmt(as.vector(t(m)))))
  range_lines <- c(range_lines,
                   paste(k - 1, 1, seq_len(nrow(m)) - 1, fmt(apply(m, 1, function(r) diff(range(r))))),
                   paste(k - 1, 2, seq_len(ncol(m)) - 1, fmt(apply(m, 2, function(r) diff(range(r))))))
}

writeLines(data_lines, "descriptive_data.txt")
writeLines(pct_lines, "percentile.txt")
writeLines(desc_lines, "descriptive.txt")
writeLines(rank_lines, "ranks.txt")
writeLines(tie_lines, "tie_correction.txt")
writeLines(unique_lines, "unique.txt")
writeLines(mdata_lines, "ranges_data.txt")
writeLines(range_lines, "ranges.txt")
cat(sprintf("quantile rule vs R types 6, 7, 3, 1: largest relative difference %.3g\n", worst_rule))
