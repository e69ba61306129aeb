#!/usr/bin/python3
"""Times the random variate generators against NumPy's Generator on the same laws; prints ratios.

usage: /usr/bin/python3 bench/random_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_random. Both sides fill 10^7 values with the same law and
parameters and report the best of N repetitions in milliseconds. Ours write into a preallocated
object (a TVec, or a TVecInt for the integer laws). NumPy's normal, uniform and gamma variates
also go into a preallocated array (out=); its binomial and Poisson samplers have no out= and
return a fresh int64 array, which is how they are called. NumPy's Generator uses PCG64, a
ziggurat for normal variates, Marsaglia-Tsang for gamma, BTPE (inversion when n p <= 30) for the
binomial and PTRS (multiplication of uniforms below 10) for the Poisson law.
"""

import argparse
import sys

from bench_common import best_of_benchmarks, run_python

LENGTH = 10_000_000

# (benchmark name, label, NumPy statement)
OPERATIONS = [
    ("BM_RandomNormal", "RandomNormal(0, 1)", "g.standard_normal(out=w)"),
    ("BM_RandomUniform", "RandomUniform(0, 1)", "g.random(out=w)"),
    ("BM_RandomGamma/5", "RandomGamma(0.5, 1)", "g.standard_gamma(0.5, out=w)"),
    ("BM_RandomGamma/25", "RandomGamma(2.5, 1)", "g.standard_gamma(2.5, out=w)"),
    ("BM_RandomBinom/20/100", "RandomBinom(20, 0.1)", "g.binomial(20, 0.1, size=n)"),
    ("BM_RandomBinom/1000/300", "RandomBinom(1000, 0.3)", "g.binomial(1000, 0.3, size=n)"),
    ("BM_RandomPoisson/30", "RandomPoisson(3)", "g.poisson(3.0, size=n)"),
    ("BM_RandomPoisson/200", "RandomPoisson(20)", "g.poisson(20.0, size=n)"),
]

# Runs in a child interpreter, so that the OpenBLAS tuning variables of this environment can be
# removed before NumPy is imported. Prints {statement: best seconds per operation} as JSON.
NUMPY_TIMER = r"""
import json, sys, timeit
import numpy as np
length, repeats, ops = json.loads(sys.argv[1])
g = np.random.default_rng(20240611)
w = np.empty(length)
env = {"np": np, "g": g, "w": w, "n": length}
best = {}
for stmt in ops:
    timer = timeit.Timer(stmt, globals=env)
    number = timer.autorange()[0]
    best[stmt] = min(timer.repeat(repeat=repeats, number=number)) / number
print(json.dumps(best))
"""

def run_ours(binary, repetitions):
    return best_of_benchmarks(binary, repetitions, "^BM_Random")[0]


def run_numpy(repetitions):
    ops = [stmt for _, _, stmt in OPERATIONS]
    best = run_python(NUMPY_TIMER, [LENGTH, repetitions, ops])
    return {stmt: seconds * 1e3 for stmt, seconds in best.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_random")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()

    ours = run_ours(args.binary, args.repetitions)
    theirs = run_numpy(args.repetitions)

    print(f"{LENGTH:,} variates, best of {args.repetitions}")
    print(f"{'generator':<24} {'ours (ms)':>10} {'NumPy (ms)':>11} {'ours/NumPy':>11}  NumPy")
    for name, label, stmt in OPERATIONS:
        if name not in ours:
            sys.exit(f"random_compare.py: {name} missing from the benchmark output")
        ratio = ours[name] / theirs[stmt]
        print(f"{label:<24} {ours[name]:>10.2f} {theirs[stmt]:>11.2f} {ratio:>11.2f}  {stmt}")


if __name__ == "__main__":
    main()
