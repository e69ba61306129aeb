#!/usr/bin/python3
"""Times MulLinRegress (constant, YCalc and V) against numpy.linalg.lstsq and R's lm.fit on the
same data; prints the ratios.

usage: /usr/bin/python3 bench/linear_models_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_linear_models. All sides fit 10^6 rows and 20 columns made by
splitmix64 exactly as bench/linear_models_bench.cpp makes them, with an intercept, and produce
the coefficients, the fitted values and the unscaled covariance matrix (X'X)^-1; each reports the
best of N repetitions in milliseconds. NumPy gets X = [1 | A] built beforehand (outside the
timing) and forms (X'X)^-1 by inverting the cross-product, which is cheaper than from a QR
factor, as a NumPy user would; R's lm.fit is timed with chol2inv of its QR factor, which is how
summary.lm gets cov.unscaled. R is skipped when Rscript is missing. The last slope and its
variance are printed as a check that every side did the same work.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from bench_common import best_of_benchmarks, run_python

ROWS = 1_000_000
COLS = 20

NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
rows, cols, repeats, dump = json.loads(sys.argv[1])
u = uniforms(rows * cols + rows)
A = u[:rows * cols].reshape(rows, cols)
y = np.zeros(rows)
for j in range(cols):
    y += (j + 1) * A[:, j] / 10.0
y += u[rows * cols:]
X = np.column_stack([np.ones(rows), A])
if dump:
    X.T.tofile(dump + ".X")   # column by column, as R reads a matrix
    y.tofile(dump + ".y")
def fit():
    b = np.linalg.lstsq(X, y, rcond=None)[0]
    yc = X @ b
    V = np.linalg.inv(X.T @ X)
    return b, yc, V
b, yc, V = fit()
timer = timeit.Timer("fit()", globals={"fit": fit})
best = min(timer.repeat(repeat=repeats, number=1)) * 1e3
print(json.dumps({"ms": best, "b": float(b[cols]), "v": float(V[cols, cols])}))
"""

R_TIMER = r"""
args <- commandArgs(trailingOnly = TRUE)
rows <- as.integer(args[1]); cols <- as.integer(args[2]); repeats <- as.integer(args[3])
X <- matrix(readBin(paste0(args[4], ".X"), "double", rows * (cols + 1)), rows, cols + 1)
y <- readBin(paste0(args[4], ".y"), "double", rows)
fit <- function() {
  f <- lm.fit(X, y)
  V <- chol2inv(f$qr$qr[1:(cols + 1), 1:(cols + 1), drop = FALSE])
  V[f$qr$pivot, f$qr$pivot] <- V
  list(b = f$coefficients, yc = f$fitted.values, V = V)
}
r <- fit()
best <- Inf
for (i in seq_len(repeats)) best <- min(best, system.time(fit())[["elapsed"]])
cat(sprintf("%.6f %.15g %.15g\n", best * 1e3, r$b[cols + 1], r$V[cols + 1, cols + 1]))
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_linear_models")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    best, labels = best_of_benchmarks(args.binary, args.repetitions, "^BM_MulLinRegress$")
    if "BM_MulLinRegress" not in best:
        sys.exit("linear_models_compare.py: BM_MulLinRegress missing from the benchmark output")
    ours = best["BM_MulLinRegress"]
    our_b, our_v = (float(v) for v in labels["BM_MulLinRegress"].split())

    rscript = shutil.which("Rscript")
    with tempfile.TemporaryDirectory() as tmp:
        dump = os.path.join(tmp, "data") if rscript else ""
        numpy = run_python(NUMPY_TIMER, [ROWS, COLS, args.repetitions, dump])
        r = None
        if rscript:
            script = os.path.join(tmp, "timer.R")
            with open(script, "w") as f:
                f.write(R_TIMER)
            out = subprocess.run([rscript, script, str(ROWS), str(COLS),
                                  str(args.repetitions), dump],
                                 check=True, stdout=subprocess.PIPE, text=True).stdout.split()
            r = {"ms": float(out[0]), "b": float(out[1]), "v": float(out[2])}

    print(f"MulLinRegress with constant, YCalc and V, {ROWS:,} x {COLS}, best of "
          f"{args.repetitions}")
    print(f"  ours                                   {ours:8.1f} ms")
    print(f"  numpy lstsq + X b + inv(X'X)           {numpy['ms']:8.1f} ms"
          f"   ours/NumPy {ours / numpy['ms']:.2f}")
    if r:
        print(f"  R lm.fit + chol2inv(R)                 {r['ms']:8.1f} ms"
              f"   ours/R {ours / r['ms']:.2f}")
    print(f"  last slope: ours {our_b:.15g}, NumPy {numpy['b']:.15g}"
          + (f", R {r['b']:.15g}" if r else ""))
    print(f"  its V: ours {our_v:.15g}, NumPy {numpy['v']:.15g}"
          + (f", R {r['v']:.15g}" if r else ""))


if __name__ == "__main__":
    main()
