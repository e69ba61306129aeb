# Reference values for the one-sample t-test.
#
# Significances come from R's t.test (alternative two.sided, greater, less). The interval of a
# one-tailed test is open on the side of the alternative's opposite: for the right-tailed test
# (alternative "greater") it is (-Inf, mean + h] and for the left-tailed test [mean - h, +Inf),
# h = qt(1 - alpha, n - 1) * se; this is the mirror of R's one-sided conf.int, so the script
# builds it from R's own estimate, standard error and quantile.
#
# Run: Rscript ttest_one_sample.R  (writes ttest_one_sample_data.txt and ttest_one_sample.txt)

set.seed(20261205)
samples <- list(
  c(0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0),  # sleep, drug 1
  c(1.5, 2.25),
  c(10.1, 9.8, 10.4),
  rnorm(7, mean = 5, sd = 2),
  rnorm(30, mean = -1, sd = 0.5),
  rexp(200, rate = 3),
  rnorm(1000, mean = 100, sd = 15),
  c(1e6 + 0.1, 1e6 + 0.3, 1e6 + 0.2, 1e6 + 0.4)
)
mus <- c(0, 1, 10, 5.5, -1, 0.3, 100.5, 1e6)
alphas <- c(0.05, 0.01, 0.1, 0.5, 1e-4)
types <- c(two.sided = 0, greater = 1, less = 2)

fmt <- function(x) formatC(x, digits = 17, format = "g")

data_lines <- c("case value")
out_lines <- c("case n mu alpha htype t signif lower upper")
for (k in seq_along(samples)) {
  x <- samples[[k]]
  data_lines <- c(data_lines, paste(k - 1, fmt(x)))
  n <- length(x)
  se <- sd(x) / sqrt(n)
  for (alpha in alphas) {
    for (alt in names(types)) {
      tt <- t.test(x, mu = mus[k], alternative = alt, conf.level = 1 - alpha)
      xbar <- unname(tt$estimate)
      if (alt == "two.sided") {
        ci <- as.numeric(tt$conf.int)
      } else if (alt == "greater") {
        ci <- c(-Inf, xbar + qt(1 - alpha, n - 1) * se)
      } else {
        ci <- c(xbar - qt(1 - alpha, n - 1) * se, Inf)
      }
      out_lines <- c(out_lines, paste(k - 1, n, fmt(mus[k]), fmt(alpha), types[[alt]],
                                      fmt(unname(tt$statistic)), fmt(tt$p.value),
                                      fmt(ci[1]), fmt(ci[2])))
    }
  }
}
writeLines(data_lines, "ttest_one_sample_data.txt")
writeLines(out_lines, "ttest_one_sample.txt")
