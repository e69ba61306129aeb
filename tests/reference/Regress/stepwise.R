# Reference values for StepwiseRegression from R: an independent re-implementation of the
# search rules with lm, on Motor Trend cars (mpg on five candidates).
# Run from this folder: Rscript stepwise.R
# Writes stepwise_data.txt (the data) and stepwise.txt ("name index value" rows, 17 significant
# digits), each table row by row:
# - exh_res, exh_det: the 2^5 models of the exhaustive search in model order (model r holds the
#   candidates of the binary digits of 2^m - 1 - r), Results rows of m + 8 columns and Details
#   rows of 6; exh_order: the model numbers ordered by the standard error of the regression.
# - fwd_res, fwd_det: forward search from the empty model; bwd_res, bwd_det: backward search
#   from the full model. A step adds (removes) the candidate whose model has the smallest
#   standard error, the first one on a tie, and only when that is strictly smaller.
# Details: coefficient b_j sd(x_j) / sd(y), its t value and 2 pt(-|t|, n - k - 1).

g17 <- function(x) sprintf("%.17g", x)
rows <- character(0)
out <- function(name, x) {
  x <- as.vector(x)
  rows <<- c(rows, paste(name, seq_along(x) - 1, g17(x)))
}

vars <- c("wt", "hp", "qsec", "drat", "disp")
data <- read.csv("../../../examples/data/mtcars.csv")
X <- as.matrix(data[, vars])
y <- data$mpg
n <- nrow(X)
m <- ncol(X)
sds <- c(apply(X, 2, sd), sd(y))

# One model: its Results row (without the model number) and its Details rows.
evaluate <- function(flags) {
  k <- sum(flags)
  fit <- if (k > 0) lm(y ~ X[, flags == 1, drop = FALSE]) else lm(y ~ 1)
  s <- summary(fit)
  sse <- sum(residuals(fit)^2)
  sst <- sum((y - mean(y))^2)
  dfe <- n - k - 1
  q <- sqrt(sse / dfe)
  res <- c(flags, q, sse, sst - sse, sst, 1 - sse / sst, 1 - (sse / sst) * (n - 1) / dfe,
           sse / dfe)
  b <- numeric(m); t <- numeric(m)
  if (k > 0) {
    b[flags == 1] <- coef(fit)[-1]
    t[flags == 1] <- s$coefficients[-1, "t value"]
  }
  det <- cbind(seq_len(m) - 1, flags, b * sds[1:m] / sds[m + 1], t, 2 * pt(-abs(t), dfe))
  list(q = q, res = res, det = det)
}

table_rows <- function(models) {
  res <- do.call(rbind, lapply(seq_along(models), function(i) c(i - 1, models[[i]]$res)))
  det <- do.call(rbind, lapply(seq_along(models), function(i) cbind(i - 1, models[[i]]$det)))
  list(res = res, det = det)
}

exh <- lapply(0:(2^m - 1), function(r) evaluate(as.integer(bitwAnd(2^m - 1 - r, 2^(0:(m - 1))) > 0)))
tab <- table_rows(exh)
out("exh_res", t(tab$res))
out("exh_det", t(tab$det))
out("exh_order", order(sapply(exh, function(e) e$q)) - 1)

greedy <- function(flags, adding) {
  models <- list(evaluate(flags))
  repeat {
    cand <- which((flags == 1) != adding)
    if (length(cand) == 0) break
    scores <- sapply(cand, function(j) { f <- flags; f[j] <- as.integer(adding); evaluate(f)$q })
    best <- which.min(scores)
    if (!(models[[length(models)]]$q > scores[best])) break
    flags[cand[best]] <- as.integer(adding)
    models[[length(models) + 1]] <- evaluate(flags)
  }
  table_rows(models)
}
fwd <- greedy(integer(m), TRUE)
out("fwd_res", t(fwd$res))
out("fwd_det", t(fwd$det))
bwd <- greedy(rep(1L, m), FALSE)
out("bwd_res", t(bwd$res))
out("bwd_det", t(bwd$det))

writeLines(c("name index value", rows), "stepwise.txt")
writeLines(c(paste("i y", paste(vars, collapse = " ")),
             paste(seq_len(n) - 1, g17(y), apply(X, 1, function(r) paste(g17(r), collapse = " ")))),
           "stepwise_data.txt")
