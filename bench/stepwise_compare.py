#!/usr/bin/python3
"""Times the exhaustive StepwiseRegression over 12 candidates against a NumPy loop of
numpy.linalg.lstsq over the 4096 subsets; prints the ratio.

usage: /usr/bin/python3 bench/stepwise_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_stepwise. Both sides fit y on [1 | subset] for every subset of 12
candidates on 10^4 rows made by splitmix64 exactly as bench/stepwise_bench.cpp makes them, and
score each by the standard error of the regression sqrt(SSE / (n - k - 1)). NumPy gets the full
design [1 | A] built beforehand (outside the timing) and only slices, solves and takes the
residual sum of squares per subset; ours also writes the statistics, standardised coefficients,
t values and p values of every model into its tables. Each side reports the best of N
repetitions in milliseconds; the smallest and largest standard errors are printed as a check
that both did the same work.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

ROWS = 10_000
CANDIDATES = 12

NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
rows, m, repeats = json.loads(sys.argv[1])
u = uniforms(rows * m + rows)
A = u[:rows * m].reshape(rows, m)
y = np.zeros(rows)
for j in range(m):
    y += (j + 1) * A[:, j] / 10.0
y += u[rows * m:]
X = np.column_stack([np.ones(rows), A])
subsets = [[0] + [j + 1 for j in range(m) if (s >> j) & 1] for s in range(2**m)]
def search():
    scores = np.empty(len(subsets))
    for i, cols in enumerate(subsets):
        Xs = X[:, cols]
        b = np.linalg.lstsq(Xs, y, rcond=None)[0]
        r = y - Xs @ b
        scores[i] = np.sqrt(r @ r / (rows - len(cols)))
    return scores
scores = search()
timer = timeit.Timer("search()", globals={"search": search})
best = min(timer.repeat(repeat=repeats, number=1)) * 1e3
print(json.dumps({"ms": best, "min": float(scores.min()), "max": float(scores.max())}))
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_stepwise")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    best, labels = best_of_benchmarks(args.binary, args.repetitions, "^BM_StepwiseExhaustive$")
    if "BM_StepwiseExhaustive" not in best:
        sys.exit("stepwise_compare.py: BM_StepwiseExhaustive missing from the benchmark output")
    ours = best["BM_StepwiseExhaustive"]
    our_min, our_max = (float(v) for v in labels["BM_StepwiseExhaustive"].split())
    numpy = run_python(NUMPY_TIMER, [ROWS, CANDIDATES, args.repetitions])

    print(f"Exhaustive StepwiseRegression, {2**CANDIDATES} subsets of {CANDIDATES} candidates, "
          f"{ROWS:,} rows, best of {args.repetitions}")
    print(f"  ours                                   {ours:8.1f} ms")
    print(f"  numpy loop of lstsq                    {numpy['ms']:8.1f} ms"
          f"   ours/NumPy {ours / numpy['ms']:.2f}")
    print(f"  smallest standard error: ours {our_min:.15g}, NumPy {numpy['min']:.15g}")
    print(f"  largest standard error:  ours {our_max:.15g}, NumPy {numpy['max']:.15g}")


if __name__ == "__main__":
    main()
