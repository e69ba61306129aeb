# Reference values for the two-sample t-test, the Z-test, the chi-square test of a standard
# deviation, the F-test of two variances and Grubbs' outlier test.
#
# t: R's t.test (paired, and var.equal = TRUE for the pooled form). F: var.test(Data2, Data1),
# since the library's F is the second sample's variance over the first's (its significance from
# pf directly, see below). Where the library
# defines its own quantities, the script applies the library's formula to R's distribution
# functions and says so below:
# - one-tailed intervals are open on the side opposite to R's (see ttest_one_sample.R);
# - Z-test: pnorm/qnorm of z = (mean - mu) / (sigma / sqrt(n));
# - chi-square test: interval ends sqrt(Q / qchisq(p, n - 1)) at the probabilities the library
#   uses (two-tailed 1 - a/2 and a/2, right-tailed [0, at 1 - a], left-tailed [at a, Inf));
# - F-test: ends F * qf(p, N2 - 1, N1 - 1) (two-tailed a/2 and 1 - a/2, right [0, at a], left
#   [at 1 - a, Inf)), not var.test's interval;
# - Grubbs: G, the critical value (n-1) sqrt(tc^2 / (n (n - 2 + tc^2))) with tc = qt(1 - a, n-2),
#   a = alpha/(2n) two-tailed and alpha/n one-tailed, and Signif = 2 n pt(-tG, n - 2).
#
# Run: Rscript parametric_tests.R  (writes parametric_tests_data.txt and parametric_tests.txt)

set.seed(20261206)
samples <- list(
  c(0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0),   # sleep, drug 1
  c(1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4),      # sleep, drug 2
  c(1, 2, 3),
  c(4, 5, 6),
  rnorm(7, mean = 5, sd = 2),
  rnorm(12, mean = 6, sd = 3),
  rnorm(40, mean = -1, sd = 0.5),
  rnorm(40, mean = -0.8, sd = 0.7),
  rexp(200, rate = 3),
  c(2.1, 2.3, 1.9, 2.0, 2.2, 2.05, 3.9),                     # one outlier above
  c(1e6 + 0.1, 1e6 + 0.3, 1e6 + 0.2, 1e6 + 0.4, 1e6 + 0.25)
)
alphas <- c(0.05, 0.01, 0.3)
types <- c(two.sided = 0, greater = 1, less = 2)
fmt <- function(x) formatC(x, digits = 17, format = "g")

data_lines <- c("case value")
for (k in seq_along(samples)) data_lines <- c(data_lines, paste(k - 1, fmt(samples[[k]])))
writeLines(data_lines, "parametric_tests_data.txt")

out <- c("# test: 0 two-sample t, 1 Z, 2 chi-square, 3 F, 4 Grubbs; a, b sample ids (b = -1: none);",
         "# param: paired flag (t), mu (Z), sigma (chi-square); param2: sigma (Z)",
         "test a b param param2 alpha htype stat signif lower upper")
row <- function(test, a, b, param, param2, alpha, ht, stat, p, lo, hi) {
  out <<- c(out, paste(test, a, b, fmt(param), fmt(param2), fmt(alpha), ht, fmt(stat), fmt(p),
                       fmt(lo), fmt(hi)))
}

pairs_t <- list(c(0, 1, 1), c(0, 1, 0), c(2, 3, 0), c(4, 5, 0), c(6, 7, 1), c(6, 7, 0),
                c(8, 6, 0), c(9, 10, 0))
for (pr in pairs_t) {
  x <- samples[[pr[1] + 1]]; y <- samples[[pr[2] + 1]]; paired <- pr[3] == 1
  for (alpha in alphas) for (alt in names(types)) {
    tt <- t.test(x, y, paired = paired, var.equal = TRUE, alternative = alt,
                 conf.level = 1 - alpha)
    est <- if (paired) mean(x - y) else mean(x) - mean(y)
    se <- unname(tt$stderr)
    df <- unname(tt$parameter)
    ci <- switch(alt, two.sided = as.numeric(tt$conf.int),
                 greater = c(-Inf, est + qt(1 - alpha, df) * se),
                 less = c(est - qt(1 - alpha, df) * se, Inf))
    row(0, pr[1], pr[2], pr[3], 0, alpha, types[[alt]], unname(tt$statistic), tt$p.value,
        ci[1], ci[2])
  }
}

zcases <- list(c(0, 0, 1.5), c(4, 5.5, 2), c(6, -1, 0.5), c(8, 0.3, 0.3), c(10, 1e6, 0.2))
for (zc in zcases) {
  x <- samples[[zc[1] + 1]]; mu <- zc[2]; sigma <- zc[3]; n <- length(x)
  se <- sigma / sqrt(n); z <- (mean(x) - mu) / se
  for (alpha in alphas) for (alt in names(types)) {
    ht <- types[[alt]]
    p <- switch(alt, two.sided = 2 * pnorm(-abs(z)), greater = pnorm(z, lower.tail = FALSE),
                less = pnorm(z))
    h <- qnorm(if (ht == 0) 1 - alpha / 2 else 1 - alpha) * se
    ci <- switch(alt, two.sided = mean(x) + c(-h, h), greater = c(-Inf, mean(x) + h),
                 less = c(mean(x) - h, Inf))
    row(1, zc[1], -1, mu, sigma, alpha, ht, z, p, ci[1], ci[2])
  }
}

ccases <- list(c(0, 2), c(4, 2), c(6, 0.4), c(8, 0.2), c(10, 0.1))
for (cc in ccases) {
  x <- samples[[cc[1] + 1]]; sigma <- cc[2]; df <- length(x) - 1
  q <- df * var(x); chi2 <- q / sigma^2
  for (alpha in alphas) for (alt in names(types)) {
    ht <- types[[alt]]
    p <- switch(alt, two.sided = 2 * min(pchisq(chi2, df), pchisq(chi2, df, lower.tail = FALSE)),
                greater = pchisq(chi2, df, lower.tail = FALSE), less = pchisq(chi2, df))
    b <- function(pr) sqrt(q / qchisq(pr, df))
    ci <- switch(alt, two.sided = c(b(1 - alpha / 2), b(alpha / 2)),
                 greater = c(0, b(1 - alpha)), less = c(b(alpha), Inf))
    row(2, cc[1], -1, sigma, 0, alpha, ht, chi2, p, ci[1], ci[2])
  }
}

fpairs <- list(c(0, 1), c(2, 3), c(4, 5), c(6, 7), c(8, 6), c(9, 4))
for (fp in fpairs) {
  x1 <- samples[[fp[1] + 1]]; x2 <- samples[[fp[2] + 1]]
  df1 <- length(x2) - 1; df2 <- length(x1) - 1
  for (alpha in alphas) for (alt in names(types)) {
    vt <- var.test(x2, x1, alternative = alt)
    f <- unname(vt$statistic)
    # var.test forms upper tails as 1 - pf(...), which loses digits for small tails; the
    # significance is taken from pf with lower.tail = FALSE instead, checked against var.test.
    lo <- pf(f, df1, df2); up <- pf(f, df1, df2, lower.tail = FALSE)
    p <- switch(alt, two.sided = 2 * min(lo, up), greater = up, less = lo)
    stopifnot(abs(p - vt$p.value) <= 1e-12)
    ci <- switch(alt, two.sided = f * qf(c(alpha / 2, 1 - alpha / 2), df1, df2),
                 greater = c(0, f * qf(alpha, df1, df2)),
                 less = c(f * qf(1 - alpha, df1, df2), Inf))
    row(3, fp[1], fp[2], 0, 0, alpha, types[[alt]], f, p, ci[1], ci[2])
  }
}

for (k in c(0, 4, 5, 6, 8, 9)) {
  x <- samples[[k + 1]]; n <- length(x); s <- sd(x); m <- mean(x)
  for (alpha in alphas) for (alt in names(types)) {
    ht <- types[[alt]]
    g <- switch(alt, two.sided = max(abs(x - m)) / s, greater = (max(x) - m) / s,
                less = (m - min(x)) / s)
    a <- if (ht == 0) alpha / (2 * n) else alpha / n
    tc <- qt(1 - a, n - 2)
    gcrit <- (n - 1) * sqrt(tc^2 / (n * (n - 2 + tc^2)))
    tg <- sqrt(g^2 * n * (n - 2) / ((n - 1)^2 - n * g^2))
    row(4, k, -1, 0, 0, alpha, ht, g, 2 * n * pt(-tg, n - 2), m - gcrit, m + gcrit)
  }
}
writeLines(out, "parametric_tests.txt")
