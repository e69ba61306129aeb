# Reference values for distances, classical scaling, Cronbach's alpha, orthomax rotations and
# full factorial designs.
#
# Data sets of the distances, scaling and alpha (rows are observations), written to
# distances_designs_data.txt as "set i j value":
#   0  USArrests (50 x 4), McNeil (1977)
#   1  15 x 6 normal values about 1e4 with unit spread, row 14 a copy of row 3 (a distance of 0
#      must come out as 0, and centring must keep the digits)
#   2  30 x 5 item scores 1..5 of a simulated questionnaire (one common trait plus noise)
# Loading matrices of the rotations, written to the same file as sets 10 and 11:
#   10 the unrotated two-factor maximum-likelihood loadings of ability.cov (6 x 2, factanal)
#   11 the loadings of the first three principal components of scaled swiss (6 x 3), the
#      eigenvectors times the standard deviations
#
# Output distances_designs.txt: "what set i j value", with what one of
#   euclidean manhattan maximum   dist(x, method), element (i, j), i < j; set s + 100 is the
#                                 distance over the first two columns only
#   mds_points mds_eig            cmdscale(dist(x), k = 2, eig = TRUE); set s + 100 scales the
#                                 manhattan distances with k = 3 (not Euclidean)
#   alpha                         Cronbach's alpha by formula: k/(k-1) (1 - sum var(item) /
#                                 var(total)), the total of the centred items
#   varimax_N varimax_R rotmat_N rotmat_R
#                                 varimax with normalize TRUE (N) or FALSE (R): loadings and
#                                 rotation matrix. eps = -1 makes varimax run all its 1000
#                                 iterations: its own stopping rule (a relative change of the
#                                 criterion below eps) stops where the rotation is still only
#                                 sqrt(eps) accurate, since the criterion is flat at its maximum.
#   quartimax_N quartrot_N        the same simultaneous update with gamma = 0, by formula
#   equamax_N equarot_N           Kaiser's pairwise planar rotations with gamma = m/2, by formula,
#                                 sweeps until the largest angle is below 1e-13
#   ff2                           the 2^n design in standard (Yates) order from expand.grid,
#                                 column j of ours being column n-1-j of expand.grid; set = n
#   ffm                           expand.grid(1:L1, 1:L2, ...) of the levels of set: 0 = (2, 3),
#                                 1 = (3, 2, 4), 2 = (5)
#
# Run: Rscript distances_designs.R  (writes distances_designs_data.txt and distances_designs.txt)

set.seed(20261206)
sets <- list(
  as.matrix(USArrests),
  {
    x <- matrix(1e4 + rnorm(15 * 6), 15, 6)
    x[15, ] <- x[4, ]
    x
  },
  {
    trait <- rnorm(30)
    sapply(1:5, function(j) pmin(5, pmax(1, round(3 + trait + rnorm(30, sd = 0.8)))))
  }
)
fa <- factanal(covmat = ability.cov, factors = 2, rotation = "none")
pc <- prcomp(swiss, scale. = TRUE)
loadings <- list(unclass(fa$loadings), pc$rotation[, 1:3] %*% diag(pc$sdev[1:3]))

fmt <- function(x) formatC(x, digits = 17, format = "g")
data_lines <- c("set i j value")
out_lines <- c("what set i j value")
emit <- function(what, k, i, j, v) out_lines <<- c(out_lines, paste(what, k, i, j, fmt(v)))
emit_matrix <- function(what, k, m) {
  for (i in seq_len(nrow(m))) for (j in seq_len(ncol(m))) emit(what, k, i - 1, j - 1, m[i, j])
}
emit_data <- function(k, x) {
  for (i in seq_len(nrow(x))) for (j in seq_len(ncol(x))) {
    data_lines <<- c(data_lines, paste(k, i - 1, j - 1, fmt(x[i, j])))
  }
}
emit_upper <- function(what, k, d) {
  d <- as.matrix(d)
  for (i in seq_len(nrow(d))) for (j in seq_len(ncol(d))) if (i < j) emit(what, k, i - 1, j - 1, d[i, j])
}

for (k in seq_along(sets)) {
  x <- unname(sets[[k]])
  s <- k - 1
  emit_data(s, x)
  for (method in c("euclidean", "manhattan", "maximum")) {
    emit_upper(method, s, dist(x, method))
    emit_upper(method, s + 100, dist(x[, 1:2], method))
  }
  m <- cmdscale(dist(x), k = 2, eig = TRUE)
  emit_matrix("mds_points", s, m$points)
  for (j in 1:2) emit("mds_eig", s, j - 1, 0, m$eig[j])
  m <- suppressWarnings(cmdscale(dist(x, "manhattan"), k = 3, eig = TRUE))
  emit_matrix("mds_points", s + 100, m$points)
  for (j in 1:3) emit("mds_eig", s + 100, j - 1, 0, m$eig[j])
  items <- ncol(x)
  # The totals of the centred items: the total of raw items far from 0 (set 1) rounds away the
  # digits that the variance of the total needs.
  total <- rowSums(sweep(x, 2, colMeans(x)))
  emit("alpha", s, 0, 0, items / (items - 1) * (1 - sum(apply(x, 2, var)) / var(total)))
}

# The simultaneous orthomax update (varimax's iteration with a general gamma), a fixed number of
# iterations.
orthomax_svd <- function(x, gamma, normalize, iterations = 1000) {
  if (normalize) {
    sc <- sqrt(rowSums(x^2))
    x <- x / sc
  }
  p <- nrow(x)
  TT <- diag(ncol(x))
  for (i in seq_len(iterations)) {
    z <- x %*% TT
    B <- t(x) %*% (z^3 - gamma * z %*% diag(colSums(z^2)) / p)
    sB <- La.svd(B)
    TT <- sB$u %*% sB$vt
  }
  z <- x %*% TT
  if (normalize) z <- z * sc
  list(loadings = z, rotmat = TT)
}

# Kaiser's pairwise planar rotations for the orthomax criterion with weight gamma.
orthomax_pairs <- function(x, gamma, normalize, tol = 1e-13, sweeps = 1000) {
  if (normalize) {
    sc <- sqrt(rowSums(x^2))
    x <- x / sc
  }
  p <- nrow(x)
  m <- ncol(x)
  TT <- diag(m)
  for (s in seq_len(sweeps)) {
    phimax <- 0
    for (i in 1:(m - 1)) for (j in (i + 1):m) {
      u <- x[, i]^2 - x[, j]^2
      v <- 2 * x[, i] * x[, j]
      a <- sum(u)
      b <- sum(v)
      num <- 2 * (sum(u * v) - gamma * a * b / p)
      den <- (sum(u * u) - sum(v * v)) - gamma * (a^2 - b^2) / p
      phi <- atan2(num, den) / 4
      phimax <- max(phimax, abs(phi))
      R <- matrix(c(cos(phi), sin(phi), -sin(phi), cos(phi)), 2, 2)
      x[, c(i, j)] <- x[, c(i, j)] %*% R
      TT[, c(i, j)] <- TT[, c(i, j)] %*% R
    }
    if (tol > phimax) break
  }
  if (normalize) x <- x * sc
  list(loadings = x, rotmat = TT)
}

for (k in seq_along(loadings)) {
  L <- unname(loadings[[k]])
  s <- 9 + k
  emit_data(s, L)
  v <- varimax(L, normalize = TRUE, eps = -1)
  emit_matrix("varimax_N", s, unclass(v$loadings))
  emit_matrix("rotmat_N", s, v$rotmat)
  v <- varimax(L, normalize = FALSE, eps = -1)
  emit_matrix("varimax_R", s, unclass(v$loadings))
  emit_matrix("rotmat_R", s, v$rotmat)
  q <- orthomax_svd(L, 0, TRUE)
  emit_matrix("quartimax_N", s, q$loadings)
  emit_matrix("quartrot_N", s, q$rotmat)
  if (ncol(L) >= 3) {
    e <- orthomax_pairs(L, ncol(L) / 2, TRUE)
    emit_matrix("equamax_N", s, e$loadings)
    emit_matrix("equarot_N", s, e$rotmat)
  }
}

for (n in 1:5) {
  g <- as.matrix(expand.grid(rep(list(0:1), n)))
  emit_matrix("ff2", n, g[, n:1, drop = FALSE])
}
levels <- list(c(2, 3), c(3, 2, 4), 5)
for (k in seq_along(levels)) {
  emit_matrix("ffm", k - 1, as.matrix(expand.grid(lapply(levels[[k]], seq_len))))
}

writeLines(data_lines, "distances_designs_data.txt")
writeLines(out_lines, "distances_designs.txt")
