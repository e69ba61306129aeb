#!/usr/bin/python3
"""Runs the time-series benchmarks and times the same work in statsmodels and R; prints ratios.

usage: /usr/bin/python3 bench/timeseries_compare.py BENCH_BINARY [--repetitions N]

All sides report the best of several repetitions, in milliseconds per operation, on the same
10^6-point AR(2) series (see timeseries_bench.cpp), built from the deterministic noise
e_t = frac(t * 2654435761 / 2^32) - 0.5 on every side.
  ACF, 40 lags:   statsmodels.tsa.stattools.acf(x, nlags=40) (its default, the FFT; its direct
                  form correlates every lag, O(n^2), and takes minutes at this size)
  Yule-Walker 10: R's ar.yw(x, aic = FALSE, order.max = 10)
  ACF, 999 lags:  statsmodels acf(x, nlags=999)
"""

import argparse
import subprocess
import sys

from bench_common import best_of_benchmarks, run_python

PY_TIMER = r"""
import json, sys, timeit
import numpy as np
from scipy.signal import lfilter
from statsmodels.tsa.stattools import acf
n, repeats = json.loads(sys.argv[1])
t = np.arange(n, dtype=np.float64)
e = np.fmod(t * 2654435761.0, 4294967296.0) / 4294967296.0 - 0.5
x = lfilter([1.0], [1.0, -0.6, 0.3], e)
best = {}
for label, stmt in (("acf40", "acf(x, nlags=40)"), ("acf999", "acf(x, nlags=999)")):
    timer = timeit.Timer(stmt, globals={"acf": acf, "x": x})
    number = timer.autorange()[0]
    best[label] = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
print(json.dumps(best))
"""

R_TIMER = r"""
args <- commandArgs(TRUE); n <- as.integer(args[1]); repeats <- as.integer(args[2])
t <- 0:(n - 1)
e <- ((t * 2654435761) %% 4294967296) / 4294967296 - 0.5
x <- as.numeric(stats::filter(e, c(0.6, -0.3), method = "recursive"))
best <- Inf
for (i in seq_len(repeats)) {
  s <- proc.time()[["elapsed"]]
  for (j in 1:5) fit <- ar.yw(x, aic = FALSE, order.max = 10)
  best <- min(best, (proc.time()[["elapsed"]] - s) / 5 * 1e3)
}
cat(best, "\n")
"""

def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_timeseries")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    n = 1_000_000
    ours = best_of_benchmarks(args.binary, args.repetitions)[0]
    py = run_python(PY_TIMER, [n, args.repetitions])
    r = float(subprocess.run(["Rscript", "-e", R_TIMER, str(n), str(args.repetitions)],
                             check=True, stdout=subprocess.PIPE, text=True).stdout)
    rows = [("ACF, 40 lags", "BM_ACF40", py["acf40"], "statsmodels acf (FFT)"),
            ("Yule-Walker 10", "BM_ARYuleWalker10", r, "R ar.yw"),
            ("ACF, 999 lags", "BM_ACF1000", py["acf999"], "statsmodels acf (FFT)")]
    print(f"{n:,} points, best of {args.repetitions}")
    print(f"{'operation':<15} {'ours (ms)':>10} {'peer (ms)':>10} {'ours/peer':>10}  peer")
    for label, name, theirs, peer in rows:
        if name not in ours:
            sys.exit(f"timeseries_compare.py: {name} missing from the benchmark output")
        print(f"{label:<15} {ours[name]:>10.2f} {theirs:>10.2f} {ours[name] / theirs:>10.2f}  {peer}")


if __name__ == "__main__":
    main()
