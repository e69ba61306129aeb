#!/usr/bin/python3
"""Times PairwiseDistance (Euclidean) against scipy.spatial.distance.pdist + squareform; prints
the ratio.

usage: /usr/bin/python3 bench/distances_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_distances. Both sides see the same 2000 x 50 matrix, made by
splitmix64 exactly as bench/distances_bench.cpp makes it, and report the best of N repetitions in
milliseconds. PairwiseDistance writes the full symmetric 2000 x 2000 matrix, so SciPy's time is
that of pdist followed by squareform; pdist alone (the condensed upper triangle) is shown too.
The sums of all distances are printed as a check that both sides did the same work.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

ROWS = 2000
COLS = 50

SCIPY_TIMER = r"""
import json, sys, timeit
import numpy as np
from scipy.spatial.distance import pdist, squareform
rows, cols, repeats = json.loads(sys.argv[1])
x = uniforms(rows * cols).reshape(rows, cols)
env = {"pdist": pdist, "squareform": squareform, "x": x}
out = {"S": float(squareform(pdist(x)).sum())}
for key, stmt in (("full", "squareform(pdist(x))"), ("condensed", "pdist(x)")):
    timer = timeit.Timer(stmt, globals=env)
    number = timer.autorange()[0]
    out[key] = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
print(json.dumps(out))
"""


def run_ours(binary, repetitions):
    name = "BM_PairwiseDistanceEuclidean"
    best, labels = best_of_benchmarks(binary, repetitions, f"^{name}$")
    if name not in best:
        sys.exit(f"distances_compare.py: {name} missing from the benchmark output")
    return best[name], float(labels[name][2:] or "nan")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_distances")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    ours, our_sum = run_ours(args.binary, args.repetitions)
    theirs = run_python(SCIPY_TIMER, [ROWS, COLS, args.repetitions])
    print(f"PairwiseDistance (Euclidean), {ROWS} x {COLS}, best of {args.repetitions}")
    print(f"  ours (full matrix)                 {ours:8.2f} ms")
    print(f"  pdist + squareform                 {theirs['full']:8.2f} ms"
          f"   ours/SciPy {ours / theirs['full']:.2f}")
    print(f"  pdist alone (condensed)            {theirs['condensed']:8.2f} ms"
          f"   ours/SciPy {ours / theirs['condensed']:.2f}")
    print(f"  sum of distances: ours {our_sum:.15g}, SciPy {theirs['S']:.15g}")


if __name__ == "__main__":
    main()
