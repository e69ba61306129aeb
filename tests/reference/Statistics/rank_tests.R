# Reference values for the rank and sign tests.
#
# Exact distributions:
# - rank_tests_signrank.txt: the signed-rank CDF psignrank(T, n) of the ranks 1..n for every T;
#   the library reflects T to S - T when T > S %/% 2 (S = n(n+1)/2), so the reference is
#   psignrank of the reflected T. Cases with ties (mid-ranks) have no R function: the script
#   counts the 2^n sign patterns whose doubled positive ranks sum to at most round(2T).
# - rank_tests_mannwhitney.txt: pwilcox(U, N1, N2) for every U, all sizes up to 7 and 7 and
#   some larger ones.
# Tests on data (rank_tests_data.txt holds the samples), with the library's formulas applied to
# R's quantities where they differ from R's own tests:
# - sign test: n+ and n among the non-zero differences; n < 20 pbinom (left P(X <= n+), right
#   P(X > n+), two-sided 2 pbinom(M) capped at 1); n >= 20 pnorm as the library defines it.
# - Wilcoxon signed rank: T = min(W+, W-); n < 15 exact P(W <= T) (psignrank, or the pattern
#   count with ties), left p, right 1 - p, two-sided 2p capped at 1; n >= 15 wilcox.test with
#   exact = FALSE, correct = FALSE (the same tie-corrected normal approximation, one-tailed on
#   W+, two-tailed on T). The interval ends: round(mu + s qnorm(a/2) - 0.5) and
#   round(mu + s qnorm(1 - a/2) + 0.5) (R's round also sends halves to even).
# - Mann-Whitney: U = min(W, N1 N2 - W) with W from wilcox.test; pwilcox(U) exact, and the
#   normal approximation without tie or continuity correction; left p, right 1 - p, two 2p.
# - Spearman: rho = cor(method = "spearman"); p from pt of rho sqrt((n-2)/(1-rho^2)); interval
#   tanh(atanh(rho) -+ qnorm(1 - a)/sqrt(n - 3)).
#
# Run: Rscript rank_tests.R

fmt <- function(x) formatC(x, digits = 17, format = "g")

# ---- exact signed-rank distribution --------------------------------------------------------
sr <- c("# case n T hasTies p; ranks of the tie cases in rank_tests_signrank_ranks.txt",
        "case n T hasties p")
sr_ranks <- c("case rank")
for (n in c(1:20, 25, 30)) {
  s <- n * (n + 1) / 2
  for (t in 0:s) {
    tr <- if (t > s %/% 2) s - t else t
    sr <- c(sr, paste(-1, n, t, 0, fmt(psignrank(tr, n))))
  }
}
tie_sets <- list(rank(c(1, 2, 2, 3, 4, 4, 4, 5)), rank(c(3, 3, 1, 2, 2, 7, 7, 7, 7, 9, 10, 11)),
                 rank(c(1, 1)), rank(c(5, 5, 5, 5, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14)))
for (k in seq_along(tie_sets)) {
  r <- sort(tie_sets[[k]]); n <- length(r); s <- n * (n + 1) / 2
  sr_ranks <- c(sr_ranks, paste(k - 1, fmt(r)))
  patterns <- as.matrix(expand.grid(rep(list(0:1), n)))
  sums <- as.vector(patterns %*% round(2 * r))
  for (t2 in 0:(2 * s)) {
    t <- t2 / 2
    tr <- if (t > s %/% 2) s - t else t
    sr <- c(sr, paste(k - 1, n, fmt(t), 1, fmt(mean(sums <= round(2 * tr)))))
  }
}
writeLines(sr, "rank_tests_signrank.txt")
writeLines(sr_ranks, "rank_tests_signrank_ranks.txt")

# ---- exact Mann-Whitney distribution --------------------------------------------------------
mw <- c("n1 n2 u p")
sizes <- c(as.list(as.data.frame(t(expand.grid(1:7, 1:7)))),
           list(c(8, 3), c(3, 8), c(10, 12), c(1, 20), c(20, 15), c(30, 40), c(50, 50)))
for (sz in sizes) {
  for (u in 0:(sz[1] * sz[2])) mw <- c(mw, paste(sz[1], sz[2], u, fmt(pwilcox(u, sz[1], sz[2]))))
}
writeLines(mw, "rank_tests_mannwhitney.txt")

# ---- tests on data ----------------------------------------------------------------------------
set.seed(20261207)
samples <- list(
  c(1, 2, 3, -1, 0),                                     # 0: the sign-test example
  c(0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0),  # 1: sleep, drug 1
  c(1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4),     # 2: sleep, drug 2
  round(rnorm(13, 0.5, 1), 1),                             # 3: ties, n < 15
  rnorm(14, 0.3, 1),                                       # 4
  rnorm(15, 0.3, 1),                                       # 5
  round(rnorm(40, 0.2, 1), 1),                             # 6: ties, normal approximation
  rnorm(19, -0.4, 1),                                      # 7
  rnorm(25, 0.5, 1),                                       # 8
  c(3, 3, 1, 2, 2, 7),                                     # 9: small with ties
  rnorm(7, 1, 1),                                          # 10
  rexp(9, 1),                                              # 11
  round(runif(30, 0, 10)),                                 # 12: many ties
  rnorm(30, 0, 2),                                         # 13
  rnorm(100),                                              # 14
  rnorm(100)                                               # 15
)
samples[[16]] <- 0.6 * samples[[15]] + 0.8 * samples[[16]]
data_lines <- c("case value")
for (k in seq_along(samples)) data_lines <- c(data_lines, paste(k - 1, fmt(samples[[k]])))
writeLines(data_lines, "rank_tests_data.txt")

alphas <- c(0.05, 0.2)
tails <- c(0, 1, 2)
out <- c("# test: 0 sign, 1 Wilcoxon signed rank, 2 Mann-Whitney exact, 3 Mann-Whitney normal,",
         "# 4 Spearman; a, b sample ids (b = -1: one sample); mu the hypothesised median",
         "test a b mu alpha htype stat signif lower upper")
row <- function(test, a, b, mu, alpha, ht, stat, p, lo, hi) {
  out <<- c(out, paste(test, a, b, fmt(mu), fmt(alpha), ht, fmt(stat), fmt(p), fmt(lo), fmt(hi)))
}
by_tail <- function(ht, left, right, two) if (ht == 0) two else if (ht == 1) right else left

sign_cases <- list(c(0, -1, 0), c(1, 2, 0), c(3, -1, 0), c(6, -1, 0), c(8, -1, 0.1),
                   c(12, -1, 5), c(13, -1, 0), c(7, -1, 0))
for (sc in sign_cases) {
  x <- samples[[sc[1] + 1]]
  d <- if (sc[2] >= 0) x - samples[[sc[2] + 1]] else x - sc[3]
  d <- d[d != 0]; n <- length(d); np <- sum(d > 0); nm <- n - np; m <- min(np, nm)
  for (alpha in alphas) for (ht in tails) {
    if (n < 20) {
      p <- by_tail(ht, pbinom(np, n, 0.5), pbinom(np, n, 0.5, lower.tail = FALSE),
                   2 * pbinom(m, n, 0.5))
    } else {
      k <- np - nm; k <- k - sign(k)
      z <- (2 * np - n) / sqrt(n)
      p <- by_tail(ht, pnorm(z), pnorm(z, lower.tail = FALSE), 2 * pnorm(-abs(k) / sqrt(n)))
    }
    row(0, sc[1], sc[2], if (sc[2] >= 0) 0 else sc[3], alpha, ht, m, min(p, 1), NaN, NaN)
  }
}

wil_cases <- list(c(1, 2, 0), c(3, -1, 0), c(4, -1, 0), c(5, -1, 0), c(6, -1, 0), c(8, -1, 0.1),
                  c(9, -1, 2), c(12, -1, 5), c(13, -1, 0.3), c(14, 15, 0), c(7, -1, 0))
for (wc in wil_cases) {
  x <- samples[[wc[1] + 1]]
  d <- if (wc[2] >= 0) x - samples[[wc[2] + 1]] else x - wc[3]
  d <- d[d != 0]; n <- length(d); r <- rank(abs(d))
  wp <- sum(r[d > 0]); wm <- sum(r[d < 0]); tt <- min(wp, wm)
  ties <- any(duplicated(abs(d)))
  mu <- n * (n + 1) / 4; s <- sqrt(n * (n + 1) * (2 * n + 1) / 24)
  for (alpha in alphas) for (ht in tails) {
    if (n < 15) {
      S <- n * (n + 1) / 2
      tr <- if (tt > S %/% 2) S - tt else tt
      if (ties) {
        patterns <- as.matrix(expand.grid(rep(list(0:1), n)))
        p0 <- mean(as.vector(patterns %*% round(2 * r)) <= round(2 * tr))
      } else {
        p0 <- psignrank(tr, n)
      }
      p <- by_tail(ht, p0, 1 - p0, 2 * p0)
    } else {
      alt <- c("two.sided", "greater", "less")[ht + 1]
      p <- suppressWarnings(wilcox.test(d, alternative = alt, exact = FALSE, correct = FALSE))$p.value
    }
    row(1, wc[1], wc[2], if (wc[2] >= 0) 0 else wc[3], alpha, ht, tt, min(p, 1),
        round(mu + s * qnorm(alpha / 2) - 0.5), round(mu + s * qnorm(1 - alpha / 2) + 0.5))
  }
}

mw_cases <- list(c(1, 2), c(9, 10), c(10, 11), c(3, 4), c(11, 4), c(0, 9), c(6, 12), c(13, 8),
                 c(14, 15), c(7, 5))
for (mc in mw_cases) {
  x <- samples[[mc[1] + 1]]; y <- samples[[mc[2] + 1]]
  n1 <- length(x); n2 <- length(y)
  w <- unname(suppressWarnings(wilcox.test(x, y, exact = FALSE))$statistic)
  u <- min(w, n1 * n2 - w)
  for (alpha in alphas) for (ht in tails) {
    if (n1 * n2 <= 2500) {
      p0 <- pwilcox(round(u), n1, n2)
      row(2, mc[1], mc[2], 0, alpha, ht, u, by_tail(ht, p0, 1 - p0, 2 * p0), NaN, NaN)
    }
    z <- (u - n1 * n2 / 2) / sqrt(n1 * n2 * (n1 + n2 + 1) / 12)
    p0 <- pnorm(z)
    row(3, mc[1], mc[2], 0, alpha, ht, u, by_tail(ht, p0, 1 - p0, 2 * p0), NaN, NaN)
  }
}

sp_cases <- list(c(1, 2), c(3, 4), c(12, 13), c(14, 15), c(6, 6), c(7, 8))
for (spc in sp_cases) {
  x <- samples[[spc[1] + 1]]; y <- samples[[spc[2] + 1]]
  n <- min(length(x), length(y)); x <- x[1:n]; y <- y[1:n]
  rho <- cor(x, y, method = "spearman")
  t <- rho * sqrt((n - 2) / (1 - rho^2))
  for (alpha in alphas) for (ht in tails) {
    p <- by_tail(ht, pt(t, n - 2), pt(t, n - 2, lower.tail = FALSE),
                 2 * min(pt(t, n - 2), pt(t, n - 2, lower.tail = FALSE)))
    h <- qnorm(1 - alpha) / sqrt(n - 3)
    row(4, spc[1], spc[2], n, alpha, ht, rho, p, tanh(atanh(rho) - h), tanh(atanh(rho) + h))
  }
}
writeLines(out, "rank_tests.txt")
