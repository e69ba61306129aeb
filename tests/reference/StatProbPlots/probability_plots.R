# Reference coordinates of the normal, quantile-quantile, Weibull and exponential probability
# plots, from R's ppoints (Hazen positions (i - 1/2)/n, i = 1..n: ppoints(n, a = 1/2)), qnorm
# and quantile type 6 (the pctMethodNPlus quartiles of the reference line).
#
# The reference line passes through (qx1, qy1) and (qx3, qy3), the lower and upper quartiles
# of the x and y coordinates; the Weibull plot takes the x quartiles and ends on a log scale.
# The normal plot's band is the one-standard-error half-width of each order statistic, in data
# units, about the line: sqrt(p(1-p)/n) / (dnorm(z) * slope).
#
# Run from this folder: Rscript probability_plots.R
# Writes samples.txt (set i value) and plots.txt (plot set i x y band) and lines.txt
# (plot set minx maxx miny maxy).

set.seed(20261205)
g17 <- function(x) ifelse(is.nan(x) | is.na(x), "NaN", ifelse(is.infinite(x),
                          ifelse(x > 0, "Inf", "-Inf"), sprintf("%.17g", x)))

samples <- list(
  c(3, 1, 4, 2),                      # 0: the textbook case
  faithful$eruptions,                 # 1: 272 values, bimodal, ties
  rweibull(40, 1.7, 3),               # 2
  rexp(25, 0.5),                      # 3
  rnorm(11, 5, 2),                    # 4
  c(2.5, 0.7),                        # 5: two values
  c(1.2, 3.4, 0.5),                   # 6: three values
  rlnorm(500, 1, 0.6),                # 7
  round(rgamma(60, 3, 1), 1) + 0.1,   # 8: ties
  LakeHuron[1:97]                     # 9: 97 values far from zero
)
# Second samples for the two-sample quantile-quantile plot, same lengths.
others <- lapply(samples, function(x) rnorm(length(x), 2, 3))

sample_rows <- character(0)
for (s in seq_along(samples)) {
  sample_rows <- c(sample_rows, paste("x", s - 1, seq_along(samples[[s]]) - 1,
                                      g17(samples[[s]])))
  sample_rows <- c(sample_rows, paste("y", s - 1, seq_along(others[[s]]) - 1,
                                      g17(others[[s]])))
}
writeLines(c("which set i value", sample_rows), "samples.txt")

q6 <- function(v, p) unname(quantile(v, p, type = 6))
plot_rows <- character(0)
line_rows <- character(0)
add_plot <- function(name, set, x, y, band, minx, maxx, miny, maxy) {
  plot_rows <<- c(plot_rows, paste(name, set, seq_along(x) - 1, g17(x), g17(y), g17(band)))
  line_rows <<- c(line_rows, paste(name, set, g17(minx), g17(maxx), g17(miny), g17(maxy)))
}
line_through <- function(x, y) {
  qx1 <- q6(x, 0.25); qx3 <- q6(x, 0.75); qy1 <- q6(y, 0.25); qy3 <- q6(y, 0.75)
  slope <- (qy3 - qy1) / (qx3 - qx1)
  mx <- (qx1 + qx3) / 2; my <- (qy1 + qy3) / 2
  list(slope = slope, miny = my + slope * (min(x) - mx), maxy = my + slope * (max(x) - mx))
}

for (s in seq_along(samples)) {
  set <- s - 1
  x <- sort(samples[[s]])
  n <- length(x)
  p <- ppoints(n, a = 0.5)
  stopifnot(all(p == ((1:n) - 0.5) / n))
  z <- qnorm(p)
  l <- line_through(x, z)
  band <- sqrt(p * (1 - p) / n) / (dnorm(z) * l$slope)
  add_plot("normal", set, x, z, band, x[1], x[n], l$miny, l$maxy)
  # Two samples: sorted x against sorted y.
  y <- sort(others[[s]])
  l <- line_through(x, y)
  add_plot("qq", set, x, y, NaN, x[1], x[n], l$miny, l$maxy)
  # Exponential: -ln(1 - p).
  e <- -log1p(-p)
  l <- line_through(x, e)
  add_plot("exp", set, x, e, NaN, x[1], x[n], l$miny, l$maxy)
  # Weibull: ln(-ln(1 - p)) against ln x (x quartiles and ends on the log scale).
  if (all(x > 0)) {
    w <- log(-log1p(-p))
    qx1 <- q6(x, 0.25); qx3 <- q6(x, 0.75); qy1 <- q6(w, 0.25); qy3 <- q6(w, 0.75)
    slope <- (qy3 - qy1) / (log(qx3) - log(qx1))
    add_plot("weibull", set, x, w, NaN, x[1], x[n], slope * (log(x[1]) - log(qx1)) + qy1,
             slope * (log(x[n]) - log(qx1)) + qy1)
  }
}
writeLines(c("plot set i x y band", plot_rows), "plots.txt")
writeLines(c("plot set minx maxx miny maxy", line_rows), "lines.txt")
