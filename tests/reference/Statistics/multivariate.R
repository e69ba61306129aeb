# Reference values for principal components and the multivariate tests, on the US arrests data
# (examples/data/us_arrests.csv: Murder, Assault, UrbanPop, Rape for 50 states).
#
# Principal components: prcomp (covariance and correlation), eigen(cov) for the matrix form, and
# the residuals after k components in the data's units (components of the correlation matrix,
# reconstruction rescaled by the column standard deviations, means added back). Component
# columns are returned with the sign of their largest-magnitude element positive, the sign the
# library gives (R's signs are arbitrary).
# Hotelling T^2 (one and two samples), Box's M and Bartlett's test for the number of
# components have no R function: they are computed here by their formulas from R's cov, solve,
# det, eigen, pf and pchisq (upper tails with lower.tail = FALSE).
#
# Row subsets: "a:b" are the states a to b in file order (1-based).
#   t2one k  k = 0 all rows, means mu0; 1 rows 1:20, mu0 (F form); 2 all rows, equal means;
#            3 rows 1:20, equal means. j = 0 T^2, 1 significance.
#   t2two k  1:25 against 26:50 (k = 0 pooled, 1 separate); 1:10 against 11:22 with the mean
#            difference dmu (k = 2 pooled, 3 separate). j = 0 T^2, 1 significance, 2 DF.
#   mbox k   k = 0 1:25 against 26:50 (chi-square form); 1 1:12 against 13:27 (F form);
#            2 1:10 against 11:20 on Murder and Assault only (F form with c2 < c1^2).
#            j = 0 M, 1 significance, 2 DF1, 3 DF2.
#   bartlett i  the significance of the test of the p - i smallest eigenvalues; numcomp at 0.05.
#
# Output: what k i j value, 17 significant digits.
# Run: Rscript multivariate.R  (from this folder; writes multivariate.txt)

x <- as.matrix(read.csv("../../../examples/data/us_arrests.csv")[, -1])
dimnames(x) <- NULL
n <- nrow(x)
p <- ncol(x)
mu0 <- c(7, 170, 65, 20)
dmu <- c(1, 10, -2, 1)

fmt <- function(v) formatC(v, digits = 17, format = "g")
out <- c("what k i j value")
emit <- function(what, k, i, j, v) out <<- c(out, paste(what, k, i, j, fmt(v)))
emit_vec <- function(what, k, v) for (i in seq_along(v)) emit(what, k, i - 1, 0, v[i])
emit_mat <- function(what, k, m) {
  for (i in seq_len(nrow(m))) for (j in seq_len(ncol(m))) emit(what, k, i - 1, j - 1, m[i, j])
}
signs <- function(v) apply(v, 2, function(col) sign(col[which.max(abs(col))]))
fix <- function(v) sweep(v, 2, signs(v), "*")

# ---- Principal components ----
for (scaled in c(FALSE, TRUE)) {
  pc <- prcomp(x, scale. = scaled)
  s <- signs(pc$rotation)
  tag <- if (scaled) "cor" else "cov"
  emit_vec(paste0(tag, "_values"), 0, pc$sdev^2)
  emit_vec(paste0(tag, "_percent"), 0, 100 * pc$sdev^2 / sum(pc$sdev^2))
  emit_mat(paste0(tag, "_vectors"), 0, sweep(pc$rotation, 2, s, "*"))
  emit_mat(paste0(tag, "_scores"), 0, sweep(pc$x, 2, s, "*"))
}
e <- eigen(cov(x), symmetric = TRUE)
emit_vec("mat_values", 0, e$values)
emit_vec("mat_percent", 0, 100 * e$values / sum(e$values))
emit_mat("mat_vectors", 0, fix(e$vectors))

ec <- eigen(cor(x), symmetric = TRUE)
z <- scale(x)
for (k in 0:3) {
  V <- ec$vectors[, seq_len(k), drop = FALSE]
  recon <- z %*% V %*% t(V)
  r <- x - sweep(sweep(recon, 2, apply(x, 2, sd), "*"), 2, colMeans(x), "+")
  emit_mat("resid", k, r)
}

# ---- Hotelling's T^2 ----
t2signif <- function(t2, m, q) {
  if (m < 50) pf(t2 * (m - q) / ((m - 1) * q), q, m - q, lower.tail = FALSE)
  else pchisq(t2, q, lower.tail = FALSE)
}
t2one <- function(xs, mu) {
  nn <- nrow(xs)
  S <- cov(xs)
  if (is.null(mu)) {
    C <- cbind(diag(p - 1), 0) - cbind(0, diag(p - 1))
    w <- C %*% colMeans(xs)
    t2 <- nn * drop(t(w) %*% solve(C %*% S %*% t(C), w))
    c(t2, t2signif(t2, nn, p - 1))
  } else {
    d <- colMeans(xs) - mu
    t2 <- nn * drop(t(d) %*% solve(S, d))
    c(t2, t2signif(t2, nn, p))
  }
}
cases <- list(list(1:50, mu0), list(1:20, mu0), list(1:50, NULL), list(1:20, NULL))
for (k in seq_along(cases)) {
  r <- t2one(x[cases[[k]][[1]], ], cases[[k]][[2]])
  for (j in 1:2) emit("t2one", k - 1, 0, j - 1, r[j])
}

t2two <- function(x1, x2, mdiff, pooled) {
  n1 <- nrow(x1)
  n2 <- nrow(x2)
  S1 <- cov(x1)
  S2 <- cov(x2)
  d <- colMeans(x1) - colMeans(x2) - mdiff
  tr <- function(m) sum(diag(m))
  term <- function(m) tr(m %*% m) + tr(m)^2
  if (pooled) {
    Sp <- ((n1 - 1) * S1 + (n2 - 1) * S2) / (n1 + n2 - 2)
    t2 <- n1 * n2 / (n1 + n2) * drop(t(d) %*% solve(Sp, d))
    df <- n1 + n2 - 2
    m <- df + 1
  } else {
    V1 <- S1 / n1
    V2 <- S2 / n2
    V <- V1 + V2
    df <- term(V) / (term(V1) / (n1 - 1) + term(V2) / (n2 - 1))
    t2 <- drop(t(d) %*% solve(V, d))
    m <- trunc(df) + 1
  }
  c(t2, t2signif(t2, m, p), df)
}
two <- list(list(1:25, 26:50, rep(0, p), TRUE), list(1:25, 26:50, rep(0, p), FALSE),
            list(1:10, 11:22, dmu, TRUE), list(1:10, 11:22, dmu, FALSE))
for (k in seq_along(two)) {
  cs <- two[[k]]
  r <- t2two(x[cs[[1]], ], x[cs[[2]], ], cs[[3]], cs[[4]])
  for (j in 1:3) emit("t2two", k - 1, 0, j - 1, r[j])
}

# ---- Box's M ----
mbox <- function(x1, x2) {
  p <- ncol(x1)
  n1 <- nrow(x1)
  n2 <- nrow(x2)
  nu1 <- n1 - 1
  nu2 <- n2 - 1
  nu <- n1 + n2 - 2
  S1 <- cov(x1)
  S2 <- cov(x2)
  Sp <- (nu1 * S1 + nu2 * S2) / nu
  M <- nu * log(det(Sp)) - nu1 * log(det(S1)) - nu2 * log(det(S2))
  a <- 1 / nu1 + 1 / nu2
  b <- 1 / nu1^2 + 1 / nu2^2
  c1 <- (2 * p^2 + 3 * p - 1) / (6 * (p + 1)) * (a - 1 / nu)
  df1 <- (p * (p + 1)) %/% 2
  df2 <- 0
  if (n1 > 20 || n2 > 20) {
    sig <- pchisq(M * (1 - c1), df1, lower.tail = FALSE)
  } else {
    c2 <- (p - 1) * (p + 2) / 6 * (b - 1 / nu^2)
    if (c2 >= c1^2) {
      df2 <- trunc((df1 + 2) / (c2 - c1^2))
      f <- M * (1 - c1 - df1 / df2) / df1
    } else {
      df2 <- trunc((df1 + 2) / (c1^2 - c2))
      f <- df2 * M / (df1 * (df2 / (1 - c1 - 2 / df2) - M))
    }
    sig <- pf(f, df1, df2, lower.tail = FALSE)
  }
  c(M, sig, df1, df2)
}
boxes <- list(list(1:25, 26:50, 1:4), list(1:12, 13:27, 1:4), list(1:10, 11:20, 1:2))
for (k in seq_along(boxes)) {
  cols <- boxes[[k]][[3]]
  r <- mbox(x[boxes[[k]][[1]], cols], x[boxes[[k]][[2]], cols])
  for (j in 1:4) emit("mbox", k - 1, 0, j - 1, r[j])
}

# ---- Bartlett's test for the number of components ----
lambda <- eigen(cov(x), symmetric = TRUE, only.values = TRUE)$values
numcomp <- p
for (m in 0:(p - 2)) {
  tail <- lambda[(m + 1):p]
  q <- p - m
  B <- (n - 1) * (q * log(mean(tail)) - sum(log(tail)))
  s <- pchisq(B, ((q - 1) * (q + 2)) %/% 2, lower.tail = FALSE)
  emit("bartlett", 0, m, 0, s)
  if (numcomp == p && s > 0.05) numcomp <- if (m == 0) -1 else m
}
emit("numcomp", 0, 0, 0, numcomp)

writeLines(out, "multivariate.txt")
