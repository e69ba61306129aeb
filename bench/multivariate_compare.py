#!/usr/bin/python3
"""Times PCA (covariance path) of a 10^5 x 50 matrix against NumPy's SVD of the centred data and
eigh of np.cov; prints the ratios.

usage: /usr/bin/python3 bench/multivariate_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_multivariate. Both sides build the same matrix from splitmix64 as
bench/multivariate_bench.cpp describes and report the best of N repetitions in milliseconds.
The peers: numpy.linalg.svd(x - x.mean(0), full_matrices=False), whose U S are the scores, and
numpy.linalg.eigh(np.cov(x, rowvar=False)), which gives components and variances but no
scores (ours computes the 10^5 x 50 scores as well). The largest and smallest variances are
printed as a check that all sides did the same work.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

ROWS = 100_000
COLS = 50

NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
rows, cols, repeats = json.loads(sys.argv[1])
u = uniforms(rows * cols).reshape(rows, cols)
x = u * (1.0 + np.arange(cols) / 10.0) + u[:, :1]
env = {"np": np, "x": x}
s = np.linalg.svd(x - x.mean(0), full_matrices=False, compute_uv=False)
w = np.linalg.eigh(np.cov(x, rowvar=False))[0]
out = {"svd_max": float(s[0] ** 2 / (rows - 1)), "svd_min": float(s[-1] ** 2 / (rows - 1)),
       "eigh_max": float(w[-1]), "eigh_min": float(w[0])}
for key, stmt in (("svd", "np.linalg.svd(x - x.mean(0), full_matrices=False)"),
                  ("eigh", "np.linalg.eigh(np.cov(x, rowvar=False))")):
    timer = timeit.Timer(stmt, globals=env)
    number = timer.autorange()[0]
    out[key] = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
print(json.dumps(out))
"""


def run_ours(binary, repetitions):
    best, labels = best_of_benchmarks(binary, repetitions, "^BM_PCACovariance$")
    if "BM_PCACovariance" not in best:
        sys.exit("multivariate_compare.py: BM_PCACovariance missing from the benchmark output")
    fields = dict(part.split("=") for part in labels["BM_PCACovariance"].split())
    return best["BM_PCACovariance"], float(fields["max"]), float(fields["min"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_multivariate")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    ours, our_max, our_min = run_ours(args.binary, args.repetitions)
    theirs = run_python(NUMPY_TIMER, [ROWS, COLS, args.repetitions])
    faster = min(theirs["svd"], theirs["eigh"])
    print(f"PCA (covariance path), {ROWS:,} x {COLS} doubles, best of {args.repetitions}")
    print(f"  ours (with the scores)             {ours:8.2f} ms")
    print(f"  numpy.linalg.svd of centred data   {theirs['svd']:8.2f} ms"
          f"   ours/NumPy {ours / theirs['svd']:.2f}")
    print(f"  numpy.linalg.eigh of np.cov        {theirs['eigh']:8.2f} ms"
          f"   ours/NumPy {ours / theirs['eigh']:.2f}")
    print(f"  ours against the faster peer       ours/NumPy {ours / faster:.2f}")
    print(f"  largest variance: ours {our_max:.15g}, svd {theirs['svd_max']:.15g},"
          f" eigh {theirs['eigh_max']:.15g}")
    print(f"  smallest variance: ours {our_min:.15g}, svd {theirs['svd_min']:.15g},"
          f" eigh {theirs['eigh_min']:.15g}")


if __name__ == "__main__":
    main()
