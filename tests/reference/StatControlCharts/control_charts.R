# Reference values of the Shewhart, EWMA and CUSUM charts, the capability indexes and the
# Westgard rule codes, computed in R from the charts' textbook formulas (R's mean, sd, diff,
# range, qnorm, qchisq, pnorm, gamma): an implementation independent of the library's.
# R's qcc package is not packaged for this Debian release, so it is not used.
#
# Conventions of the library that the formulas below follow:
# - variable charts (means, standard deviations, ranges, moving ranges): z = qnorm(conf/2 + 1/2);
#   attribute, EWMA charts: z = qnorm(conf) (one-sided);
# - c4(n) = sqrt(2/(n-1)) gamma(n/2) / gamma((n-1)/2), here as sqrt(2/(n-1)) sqrt(pi) /
#   beta((n-1)/2, 1/2): R's beta does not overflow for large subgroups and keeps its digits
#   (a difference of lgamma values loses about 1e-13 at n = 400, which the S chart's
#   sqrt(1 - c4^2) magnifies to 1e-11);
# - range chart half-width z R-bar / 2 sqrt(n ln 2 / ((n-1) ln n));
# - moving-range chart half-width z MR-bar / 1.128;
# - the standard-deviation chart's lower limit is clipped at 0, no other limit is;
# - capability: OutOfSpec from the two tails pnorm(LSL) + pnorm(USL, lower = FALSE), equal to
#   1 - (pnorm(USL) - pnorm(LSL)) up to rounding.
#
# Run from this folder: Rscript control_charts.R
# Writes subgroups.txt (set row col value), attributes.txt (set i count size),
# individuals.txt (set i value), charts.txt (one line per chart: name, set, parameters, CL,
# UCL, LCL), chart_points.txt (name, set, parameters, i, point, cl, ucl, lcl) and
# westgard.txt (set i value code).

set.seed(20261205)
g17 <- function(x) ifelse(is.na(x) & !is.nan(x), "NaN",
                          ifelse(is.nan(x), "NaN", ifelse(is.infinite(x),
                                 ifelse(x > 0, "Inf", "-Inf"), sprintf("%.17g", x))))

c4 <- function(n) sqrt(2 / (n - 1)) * sqrt(pi) / beta((n - 1) / 2, 0.5)

# ---- subgrouped variable data ------------------------------------------------------------------
subgroups <- list(
  matrix(round(rnorm(25 * 5, 74, 0.01), 3), 25, 5, byrow = TRUE),   # 0: piston-ring-like, n = 5
  matrix(rnorm(20 * 2, 10, 2), 20, 2, byrow = TRUE),                # 1: n = 2
  matrix(rnorm(30 * 10, -3, 0.5), 30, 10, byrow = TRUE),            # 2: n = 10
  matrix(rexp(15 * 4, 0.2), 15, 4, byrow = TRUE),                   # 3: skewed, n = 4
  matrix(1e6 + rnorm(12 * 3), 12, 3, byrow = TRUE),                 # 4: far from zero, n = 3
  matrix(rnorm(40 * 25, 100, 15), 40, 25, byrow = TRUE),            # 5: n = 25
  matrix(rnorm(8 * 400, 0, 1), 8, 400, byrow = TRUE),               # 6: n = 400, gamma overflows
  matrix(rnorm(1 * 6, 5, 1), 1, 6, byrow = TRUE)                    # 7: one subgroup
)
# Plant weights of the three groups of Dobson's experiment as 3 subgroups of 10.
subgroups[[9]] <- matrix(PlantGrowth$weight, 3, 10, byrow = TRUE)  # 8

data_rows <- character(0)
for (s in seq_along(subgroups)) {
  m <- subgroups[[s]]
  for (i in seq_len(nrow(m))) for (j in seq_len(ncol(m))) {
    data_rows <- c(data_rows, paste(s - 1, i - 1, j - 1, g17(m[i, j])))
  }
}
writeLines(c("set row col value", data_rows), "subgroups.txt")

chart_rows <- character(0)
point_rows <- character(0)
add_chart <- function(name, set, par1, par2, cl, ucl, lcl) {
  chart_rows <<- c(chart_rows, paste(name, set, g17(par1), g17(par2), g17(cl), g17(ucl),
                                     g17(lcl)))
}
add_points <- function(name, set, par1, par2, point, cl, ucl, lcl) {
  k <- length(point)
  cl <- rep_len(cl, k); ucl <- rep_len(ucl, k); lcl <- rep_len(lcl, k)
  point_rows <<- c(point_rows, paste(name, set, g17(par1), g17(par2), seq_len(k) - 1,
                                     g17(point), g17(cl), g17(ucl), g17(lcl)))
}

conf_two <- c(2 * pnorm(3) - 1, 0.95, 0.9973)
for (s in seq_along(subgroups)) {
  m <- subgroups[[s]]
  set <- s - 1
  n <- ncol(m)
  xbar <- rowMeans(m)
  sds <- apply(m, 1, sd)
  rng <- apply(m, 1, function(r) max(r) - min(r))
  sbar <- mean(sds)
  rbar <- mean(rng)
  for (conf in conf_two) {
    z <- qnorm(conf / 2 + 0.5)
    cl <- mean(xbar)
    w <- z * sbar / (sqrt(n) * c4(n))
    add_chart("X", set, conf, 0, cl, cl + w, cl - w)
    add_points("X", set, conf, 0, xbar, cl, cl + w, cl - w)
    w <- z * sqrt(1 - c4(n)^2) * sbar / c4(n)
    add_chart("S", set, conf, 0, sbar, sbar + w, max(sbar - w, 0))
    add_points("S", set, conf, 0, sds, sbar, sbar + w, max(sbar - w, 0))
    w <- z * 0.5 * rbar * sqrt(n * log(2) / ((n - 1) * log(n)))
    add_chart("R", set, conf, 0, rbar, rbar + w, rbar - w)
    add_points("R", set, conf, 0, rng, rbar, rbar + w, rbar - w)
  }
  # EWMA, constant and time-varying limits (one-sided z).
  for (lambda in c(0.2, 1, 0.05)) for (conf in c(pnorm(3), 0.99)) {
    z <- qnorm(conf)
    cl <- mean(xbar)
    e <- numeric(length(xbar))
    prev <- cl
    for (i in seq_along(xbar)) { e[i] <- lambda * xbar[i] + (1 - lambda) * prev; prev <- e[i] }
    if (n < 2) { ucl <- Inf; lcl <- -Inf } else {
      w <- z * (sbar / c4(n)) * sqrt(lambda / ((2 - lambda) * n))
      ucl <- cl + w; lcl <- cl - w
    }
    add_chart("EWMA", set, lambda, conf, cl, ucl, lcl)
    add_points("EWMA", set, lambda, conf, e, cl, ucl, lcl)
    i <- seq_along(xbar)
    f <- sqrt(lambda / (2 - lambda) * (1 - (1 - lambda)^(2 * i)))
    w <- z * sbar * sqrt(1 / n) / c4(n)
    add_points("EWMAVar", set, lambda, conf, e, cl, cl + w * f, cl - w * f)
  }
  # CUSUM: cumulative deviations of the means from the target in units of sigma, and the
  # tabular upper and lower sums in data units (stored in the ucl and lcl columns).
  target <- mean(xbar) + 0.25 * sbar
  for (k in c(0, 0.5 * sbar / sqrt(n))) {
    sigma <- sbar / sqrt(n)
    d <- xbar - target
    cp <- numeric(length(d)); cm <- numeric(length(d))
    for (i in seq_along(d)) {
      cp[i] <- max(0, (if (i > 1) cp[i - 1] else 0) + d[i] - k)
      cm[i] <- max(0, (if (i > 1) cm[i - 1] else 0) - k - d[i])
    }
    add_points("CUSUM", set, k, target, cumsum(d) / sigma, sigma, cp, cm)
  }
}

# ---- individual values: moving-range chart and capability indexes -----------------------------
individuals <- list(
  c(1, 3, 2),                              # 0: the textbook case
  LakeHuron,                               # 1: 98 annual levels (feet)
  rnorm(50, 10, 0.2),                      # 2
  rnorm(7, 0, 1),                          # 3: small sample
  rnorm(200, 3, 1),                        # 4
  c(4.5, 5, 5.5, 5, 4.5, 5, 5.5, 5, 4.5, 5.5)  # 5: centred between 3.5 and 6.5
)
ind_rows <- character(0)
for (s in seq_along(individuals)) {
  x <- as.numeric(individuals[[s]])
  ind_rows <- c(ind_rows, paste(s - 1, seq_along(x) - 1, g17(x)))
}
writeLines(c("set i value", ind_rows), "individuals.txt")

cap_rows <- character(0)
specs <- list(c(3.5, 6.5), c(-Inf, 2), c(0, Inf), c(9.5, 10.4), c(-2.5, 2.5), c(1, 4.5),
              c(578, 581), c(-Inf, 10.5))
for (s in seq_along(individuals)) {
  x <- as.numeric(individuals[[s]])
  set <- s - 1
  for (conf in conf_two) {
    z <- qnorm(conf / 2 + 0.5)
    cl <- mean(x)
    w <- z * mean(abs(diff(x))) / 1.128
    add_chart("MR", set, conf, 0, cl, cl + w, cl - w)
  }
  N <- length(x); mu <- mean(x); sigma <- sd(x)
  for (sp in specs) for (alpha in c(0.05, 0.1)) {
    lsl <- sp[1]; usl <- sp[2]
    cp <- NaN; cpk <- NaN; cpci <- c(NaN, NaN); cpkci <- c(NaN, NaN)
    if (is.infinite(lsl)) {
      out <- pnorm(usl, mu, sigma, lower.tail = FALSE)
    } else if (is.infinite(usl)) {
      out <- pnorm(lsl, mu, sigma)
    } else {
      out <- pnorm(lsl, mu, sigma) + pnorm(usl, mu, sigma, lower.tail = FALSE)
      cpk <- min(mu - lsl, usl - mu) / (3 * sigma)
      cp <- (usl - lsl) / (6 * sigma)
      a <- alpha / 2
      cpci <- cp * sqrt(qchisq(c(a, 1 - a), N - 1) / (N - 1))
      zz <- qnorm(1 - a)
      se <- sqrt((N - 1) / (9 * N^2 - 1) + cpk^2 / (2 * N - 6) * (6 / (N - 1) + 1))
      cpkci <- cpk + c(-1, 1) * zz * se
    }
    cap_rows <- c(cap_rows, paste(set, g17(lsl), g17(usl), g17(alpha), g17(out), g17(cp),
                                  g17(cpk), g17(cpci[1]), g17(cpci[2]), g17(cpkci[1]),
                                  g17(cpkci[2])))
  }
}
writeLines(c("set lsl usl alpha outofspec cp cpk cp_lo cp_hi cpk_lo cpk_hi", cap_rows),
           "capability.txt")

# ---- attribute data ---------------------------------------------------------------------------
attributes <- list()
sizes <- list()
sizes[[1]] <- rep(50, 30);  attributes[[1]] <- rbinom(30, 50, 0.08)        # 0: one size
sizes[[2]] <- sample(80:160, 25, TRUE)                                       # 1: varying sizes
attributes[[2]] <- rbinom(25, sizes[[2]], 0.05)
sizes[[3]] <- rep(1, 54); attributes[[3]] <- warpbreaks$breaks              # 2: defects per loom
sizes[[4]] <- round(runif(20, 1, 6), 1)                                      # 3: units inspected
attributes[[4]] <- rpois(20, 2.5 * sizes[[4]])
sizes[[5]] <- rep(200, 18); attributes[[5]] <- rbinom(18, 200, 0.3)         # 4: large p
attr_rows <- character(0)
for (s in seq_along(attributes)) {
  attr_rows <- c(attr_rows, paste(s - 1, seq_along(attributes[[s]]) - 1, g17(attributes[[s]]),
                                  g17(sizes[[s]])))
}
writeLines(c("set i count size", attr_rows), "attributes.txt")

for (s in seq_along(attributes)) {
  x <- attributes[[s]]; m <- sizes[[s]]; set <- s - 1
  for (conf in c(pnorm(3), 0.975)) {
    z <- qnorm(conf)
    # One size (the first, rounded: the one-size forms take a whole number): every sample is
    # taken to have m1 items / units.
    m1 <- round(m[1])
    p <- x / m1; pbar <- mean(p); w <- z * sqrt(pbar * (1 - pbar) / m1)
    add_chart("P", set, conf, m1, pbar, pbar + w, pbar - w)
    add_points("P", set, conf, m1, p, pbar, pbar + w, pbar - w)
    cl <- mean(x); pp <- cl / m1; w <- z * sqrt(m1 * pp * (1 - pp))
    add_chart("NP", set, conf, m1, cl, cl + w, cl - w)
    add_points("NP", set, conf, m1, x, cl, cl + w, cl - w)
    u <- x / m1; ubar <- mean(u); w <- z * sqrt(ubar / m1)
    add_chart("U", set, conf, m1, ubar, ubar + w, ubar - w)
    add_points("U", set, conf, m1, u, ubar, ubar + w, ubar - w)
    cbar <- mean(x); w <- z * sqrt(cbar)
    add_chart("C", set, conf, 0, cbar, cbar + w, cbar - w)
    add_points("C", set, conf, 0, x, cbar, cbar + w, cbar - w)
    # Sizes per sample: pooled proportion / rate.
    pp <- sum(x) / sum(m); w <- sqrt(pp * (1 - pp) * z^2 / m)
    add_points("PVar", set, conf, 0, x / m, pp, pp + w, pp - w)
    w <- z * sqrt(pp * (1 - pp)) * sqrt(m)
    add_points("NPVar", set, conf, 0, x, m * pp, m * pp + w, m * pp - w)
    w <- sqrt(pp * z^2 / m)
    add_points("UVar", set, conf, 0, x / m, pp, pp + w, pp - w)
  }
}

writeLines(c("chart set par1 par2 cl ucl lcl", chart_rows), "charts.txt")
writeLines(c("chart set par1 par2 i point cl ucl lcl", point_rows), "chart_points.txt")

# ---- Westgard rules ---------------------------------------------------------------------------
# The rules straight from their definitions, on series whose values lie on a grid of quarter
# sigmas, so that values exactly on the 1s, 2s and 3s limits occur and every comparison is exact
# in binary floating point.
westgard <- function(x, m, s) {
  n <- length(x); code <- integer(n)
  d <- x - m
  for (i in seq_len(n)) {
    c <- 0L
    if (abs(d[i]) > 3 * s) c <- c + 1L
    if (abs(d[i]) > 2 * s) c <- c + 2L
    if (i >= 2 && ((d[i] > 2 * s && d[i - 1] > 2 * s) || (-d[i] > 2 * s && -d[i - 1] > 2 * s)))
      c <- c + 4L
    if (i >= 2 && abs(d[i]) > 2 * s && abs(d[i - 1]) > 2 * s) c <- c + 8L
    if (i >= 4 && (all(d[(i - 3):i] > s) || all(-d[(i - 3):i] > s))) c <- c + 16L
    if (i >= 10 && (all(x[(i - 9):i] > m) || all(x[(i - 9):i] < m))) c <- c + 32L
    code[i] <- c
  }
  code
}
wg_rows <- character(0)
wg_params <- list(c(0, 1), c(10, 2), c(-4, 0.5))
for (s in seq_along(wg_params)) {
  m <- wg_params[[s]][1]; sd0 <- wg_params[[s]][2]
  # An autoregressive series rounded to the quarter-sigma grid: runs on one side, excursions
  # beyond 2s and 3s, and values exactly on the limits all occur.
  y <- as.numeric(arima.sim(list(ar = 0.75), 400, sd = 0.9))
  x <- m + sd0 * round(4 * y) / 4
  code <- westgard(x, m, sd0)
  wg_rows <- c(wg_rows, paste(s - 1, g17(m), g17(sd0), seq_along(x) - 1, g17(x), code))
}
writeLines(c("set mean sigma i value code", wg_rows), "westgard.txt")
