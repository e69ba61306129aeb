# Reference values for RegressTest and LinRegress from R's lm and summary.lm.
# Run from this folder: Rscript regression_stats.R
# Writes regression_data.txt (observations, fitted values, weights), regression_v.txt (the
# unscaled covariance matrices), regression_stats.txt (the statistics), line_data.txt and
# lines.txt (straight-line fits), all with 17 significant digits.
#
# Where the library's definitions differ from summary.lm, the script applies the library's
# formula to R's quantities and says so:
# - without a constant, the library keeps dFR = p - 1 (R uses p) and dfT = n - 1 (R uses n), so
#   F, its significance and the adjusted R^2 are recomputed from R's residual and total sums of
#   squares with those counts;
# - the total sum of squares is taken about the (weighted) mean with a constant and about zero
#   without one, as summary.lm does for r.squared.

g17 <- function(x) ifelse(is.na(x), "NaN", sprintf("%.17g", x))

data_rows <- character(0)
v_rows <- character(0)
stat_rows <- character(0)

add_case <- function(name, fit, y, w, constant) {
  s <- summary(fit)
  n <- length(y)
  p <- length(coef(fit))
  yhat <- fitted(fit)
  sse <- deviance(fit)                      # sum w r^2
  m <- if (constant) sum(w * y) / sum(w) else 0
  sst <- sum(w * (y - m)^2)
  ssr <- sst - sse
  dfe <- fit$df.residual
  dft <- n - 1
  r2 <- s$r.squared                         # mss / (mss + rss), the same R^2
  if (constant) {
    adj <- s$adj.r.squared
    f <- unname(s$fstatistic["value"])
    sig <- pf(f, p - 1, dfe, lower.tail = FALSE)
  } else {
    # The library's counts: dFR = p - 1, dfT = n - 1 (see the header of this file).
    adj <- 1 - (sse / sst) * (dft / dfe)
    f <- (ssr / sse) * (dfe / (p - 1))
    sig <- pf(f, p - 1, dfe, lower.tail = FALSE)
  }
  se <- coef(s)[, 2]
  se4 <- c(se, rep(NA, 4 - p))
  stat_rows <<- c(stat_rows, paste(name, p, as.integer(constant), as.integer(any(w != 1)),
    g17(sse), g17(sst), g17(ssr), g17(s$sigma^2), g17(r2), g17(adj), dfe, dft, g17(s$sigma),
    g17(f), g17(sig), paste(g17(se4), collapse = " ")))
  data_rows <<- c(data_rows, paste(name, seq_len(n) - 1, g17(y), g17(yhat), g17(w)))
  v <- s$cov.unscaled
  for (j in seq_len(p)) for (k in seq_len(p)) {
    v_rows <<- c(v_rows, paste(name, j - 1, k - 1, g17(v[j, k])))
  }
}

# Stopping distances against speed (Ezekiel 1930), weighted by 1 / speed.
ws <- 1 / cars$speed
add_case("cars_line", lm(dist ~ speed, cars), cars$dist, rep(1, 50), TRUE)
add_case("cars_line_w", lm(dist ~ speed, cars, weights = ws), cars$dist, ws, TRUE)
add_case("cars_quad_origin", lm(dist ~ 0 + speed + I(speed^2), cars), cars$dist, rep(1, 50),
         FALSE)
add_case("cars_quad_origin_w", lm(dist ~ 0 + speed + I(speed^2), cars, weights = ws), cars$dist,
         ws, FALSE)
# Timber volume of black cherry trees against girth and height, weighted by 1 / girth^2.
wt <- 1 / trees$Girth^2
add_case("trees_w", lm(Volume ~ Girth + Height, trees, weights = wt), trees$Volume, wt, TRUE)
add_case("trees_origin", lm(Volume ~ 0 + Girth + Height, trees), trees$Volume, rep(1, 31), FALSE)
# Brownlee's stack loss plant data, three regressors.
add_case("stackloss", lm(stack.loss ~ ., stackloss), stackloss$stack.loss, rep(1, 21), TRUE)

hdr_stats <- paste("case p constant weighted SSE SST SSR ResidualVar R2 AdjustedR2 dfE dfT",
                   "StdError F Signif se0 se1 se2 se3")
writeLines(c(hdr_stats, stat_rows), "regression_stats.txt")
writeLines(c("case i y ycalc w", data_rows), "regression_data.txt")
writeLines(c("case j k v", v_rows), "regression_v.txt")

# Straight lines through the cars data: coefficients and the unscaled covariance of the line
# with intercept (the matrix LinRegress writes in both forms).
line_rows <- character(0)
for (weighted in c(FALSE, TRUE)) {
  w <- if (weighted) ws else rep(1, 50)
  with_c <- lm(dist ~ speed, cars, weights = w)
  origin <- lm(dist ~ 0 + speed, cars, weights = w)
  v <- summary(with_c)$cov.unscaled
  vv <- g17(c(v[1, 1], v[1, 2], v[2, 2]))
  line_rows <- c(line_rows,
    paste(if (weighted) "line_w" else "line", 1, as.integer(weighted),
          paste(g17(coef(with_c)), collapse = " "), paste(vv, collapse = " ")),
    paste(if (weighted) "origin_w" else "origin", 0, as.integer(weighted),
          g17(coef(origin)), "NaN", paste(vv, collapse = " ")))
}
writeLines(c("case constant weighted b0 b1 v00 v01 v11", line_rows), "lines.txt")
writeLines(c("i x y w", paste(seq_len(50) - 1, g17(cars$speed), g17(cars$dist), g17(ws))),
           "line_data.txt")
