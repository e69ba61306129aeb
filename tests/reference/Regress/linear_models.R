# Reference values for MulLinRegress, RidgeRegress, PCRegress and PRESS from R.
# Run from this folder: Rscript linear_models.R
# Writes linear_models_data.txt (the data: Motor Trend cars, mpg on wt, hp, qsec and drat, with
# weights 1 / cyl) and linear_models.txt ("name index value" rows, 17 significant digits).
#
# - lm: coefficients, fitted values and summary's cov.unscaled, with and without an intercept
#   and with weights (cov.unscaled is then (X'WX)^-1 with the raw weights).
# - ridge: the closed form b = (Z'Z + k I)^-1 Z'y on columns standardised with the divisor n - 1
#   (MASS::lm.ridge uses the divisor n, so its lambda would be k (n - 1) / n), and the slopes and
#   intercept in the units of the data.
# - pcr: regression of y (no constant) on the scores of the correlation-matrix components, the
#   last components dropped, turned back into coefficients of the data; standard errors
#   sqrt((PC^2) (s2 / lambda)) / sd with s2 = SSE / n. The weighted form applies the same
#   formula to the rows scaled by sqrt(w / sum w), and divides its fitted values by that scale.
# - press: sum((residuals / (1 - hatvalues))^2) of the fit with an intercept.

g17 <- function(x) sprintf("%.17g", x)
rows <- character(0)
out <- function(name, x) {
  x <- as.vector(x)
  rows <<- c(rows, paste(name, seq_along(x) - 1, g17(x)))
}

A <- as.matrix(mtcars[, c("wt", "hp", "qsec", "drat")])
y <- mtcars$mpg
w <- 1 / mtcars$cyl
n <- nrow(A)
p <- ncol(A)

fit <- lm(y ~ A)
out("lm_b", coef(fit))
out("lm_fit", fitted(fit))
out("lm_V", t(summary(fit)$cov.unscaled))  # row by row
fit0 <- lm(y ~ A - 1)
out("lm0_b", coef(fit0))
out("lm0_V", t(summary(fit0)$cov.unscaled))
wfit <- lm(y ~ A, weights = w)
out("wlm_b", coef(wfit))
out("wlm_fit", fitted(wfit))
out("wlm_V", t(summary(wfit)$cov.unscaled))

k <- 0.7
m <- colMeans(A)
d <- apply(A, 2, sd)
Z <- sweep(sweep(A, 2, m), 2, d, "/")
bz <- solve(crossprod(Z) + k * diag(p), crossprod(Z, y))
out("ridge_std", bz)
out("ridge_raw", c(mean(y) - sum(m * bz / d), bz / d))

pcr <- function(y, A, omit) {
  m <- colMeans(A)
  d <- apply(A, 2, sd)
  e <- eigen(cor(A), symmetric = TRUE)
  PC <- e$vectors
  scores <- scale(A) %*% PC
  cf <- qr.solve(scores, y)
  if (omit > 0) cf[(p - omit + 1):p] <- 0
  slopes <- (PC %*% cf) / d
  b <- c(mean(y) - sum(slopes * m), slopes)
  fitted <- drop(b[1] + A %*% slopes)
  s2 <- sum((y - fitted)^2) / length(y)
  se <- sqrt((PC^2) %*% (s2 / e$values)) / d
  list(b = b, fit = fitted, se = se)
}
r <- pcr(y, A, 1)
out("pcr1_b", r$b)
out("pcr1_fit", r$fit)
out("pcr1_se", r$se)
s <- sqrt(w / sum(w))
r <- pcr(y * s, A * s, 2)
out("wpcr2_b", r$b)
out("wpcr2_fit", r$fit / s)
out("wpcr2_se", r$se)

out("press", sum((residuals(fit) / (1 - hatvalues(fit)))^2))

writeLines(c("name index value", rows), "linear_models.txt")
writeLines(c("i y wt hp qsec drat w",
             paste(seq_len(n) - 1, g17(y), g17(A[, 1]), g17(A[, 2]), g17(A[, 3]), g17(A[, 4]),
                   g17(w))), "linear_models_data.txt")
