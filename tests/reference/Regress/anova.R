# Reference analysis-of-variance tables from R's aov.
# Run from this folder: Rscript anova.R
# Writes anova_data.txt (the designs, one value per line with its row and column in the matrix
# the library takes, or its group number) and anova.txt (one line per term of each table:
# degrees of freedom, sum of squares, mean square, F, significance, and the critical F at level
# 0.05, qf(0.95, df, residual df)), all with 17 significant digits.
#
# Matrix layouts, as the library reads them:
# - one-way: one column per group;
# - two-way: the columns are the levels of the column factor, the rows come in blocks of
#   Replications consecutive rows, one block per level of the row factor.

g17 <- function(x) ifelse(is.na(x), "NaN", sprintf("%.17g", x))
alpha <- 0.05
data_rows <- character(0)
table_rows <- character(0)

# mode: "matrix" (row, col, value) or "indexed" (i, group, value); reps: replications (0 for
# one-way).
add_table <- function(name, fit, terms) {
  tab <- summary(fit)[[1]]
  res <- nrow(tab)
  dfe <- tab[res, "Df"]
  for (k in seq_len(nrow(tab))) {
    df <- tab[k, "Df"]
    fcrit <- if (k < res) qf(1 - alpha, df, dfe) else NA
    table_rows <<- c(table_rows, paste(name, terms[k], g17(df), g17(tab[k, "Sum Sq"]),
      g17(tab[k, "Mean Sq"]), g17(tab[k, "F value"]), g17(tab[k, "Pr(>F)"]), g17(fcrit)))
  }
}
add_matrix <- function(name, m) {
  for (i in seq_len(nrow(m))) for (j in seq_len(ncol(m))) {
    data_rows <<- c(data_rows, paste(name, i - 1, j - 1, g17(m[i, j])))
  }
}

# One-way, equal groups as matrix columns: Dobson's plant weights (10 per group), and the
# insect counts under six sprays (Beall 1942, 12 per group).
pg <- PlantGrowth
add_matrix("plant_matrix", sapply(split(pg$weight, pg$group), identity))
add_table("plant_matrix", aov(weight ~ group, pg), c("between", "within"))
is <- InsectSprays
add_matrix("sprays_matrix", sapply(split(is$count, is$spray), identity))
add_table("sprays_matrix", aov(count ~ spray, is), c("between", "within"))

# One-way, indexed: the same plant weights, and chick weights under six feeds (unequal groups,
# McNeil 1977). Rows: "case i group value" stored as row = i, col = group.
add_indexed <- function(name, y, f) {
  g <- as.integer(f) - 1L
  data_rows <<- c(data_rows, paste(name, seq_along(y) - 1, g, g17(y)))
}
add_indexed("plant_indexed", pg$weight, pg$group)
add_table("plant_indexed", aov(weight ~ group, pg), c("between", "within"))
add_indexed("chick_indexed", chickwts$weight, chickwts$feed)
add_table("chick_indexed", aov(weight ~ feed, chickwts), c("between", "within"))

# Two-way with replication: warp breaks, tension (3 levels) by rows and wool (2) by columns,
# 9 looms per cell; tooth growth, dose (3) by rows and supplement (2) by columns, 10 per cell.
two_way_matrix <- function(y, rowf, colf) {
  a <- nlevels(rowf); b <- nlevels(colf); R <- length(y) / (a * b)
  m <- matrix(NA_real_, a * R, b)
  for (i in seq_len(a)) for (j in seq_len(b)) {
    m[(i - 1) * R + seq_len(R), j] <- y[rowf == levels(rowf)[i] & colf == levels(colf)[j]]
  }
  m
}
wb <- warpbreaks
add_matrix("warpbreaks", two_way_matrix(wb$breaks, wb$tension, wb$wool))
add_table("warpbreaks", aov(breaks ~ tension * wool, wb), c("rows", "cols", "inter", "error"))
tg <- ToothGrowth
tg$dose <- factor(tg$dose)
add_matrix("toothgrowth", two_way_matrix(tg$len, tg$dose, tg$supp))
add_table("toothgrowth", aov(len ~ dose * supp, tg), c("rows", "cols", "inter", "error"))

# Two-way without replication (the interaction is the residual): a seeded 6 x 4 table, and the
# cell means of the warp breaks design (3 x 2).
set.seed(20261205)
m1 <- matrix(round(rnorm(24, 50, 10), 2), 6, 4) + outer(1:6, 1:4)
add_matrix("noreps_6x4", m1)
d1 <- data.frame(y = as.vector(m1), r = factor(rep(1:6, 4)), c = factor(rep(1:4, each = 6)))
add_table("noreps_6x4", aov(y ~ r + c, d1), c("rows", "cols", "error"))
m2 <- tapply(wb$breaks, list(wb$tension, wb$wool), mean)
add_matrix("noreps_cellmeans", m2)
d2 <- data.frame(y = as.vector(m2), r = factor(rep(1:3, 2)), c = factor(rep(1:2, each = 3)))
add_table("noreps_cellmeans", aov(y ~ r + c, d2), c("rows", "cols", "error"))

writeLines(c("case row col value", data_rows), "anova_data.txt")
writeLines(c("case term df SS MS F Signif FCrit", table_rows), "anova.txt")
