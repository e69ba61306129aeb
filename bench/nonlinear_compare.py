#!/usr/bin/python3
"""Times NLinRegress (Marquardt) against scipy.optimize.least_squares(method="lm") on the
higher-difficulty NIST StRD nonlinear problems; prints the ratios.

usage: /usr/bin/python3 bench/nonlinear_compare.py BENCH_BINARY [--repetitions N]

BENCH_BINARY is lumex_bench_nonlinear. Both sides fit the same NIST files from the same two
certified starting points, with the analytic Jacobian (and once more with numeric derivatives:
our NumericDerive against SciPy's two-point differences), relative tolerance 1e-8 and a budget
of 20000 iterations or model evaluations; each reports the best of N repetitions in
milliseconds. The correct digits of each side's parameters against the certified values are
printed beside the times: a fast fit that stops at the wrong point is no match for a slower
correct one. The NIST folder is $LUMEX_NIST_DIR, else ../shared/data/nist beside the repository.
"""

import argparse
import os
import sys

from bench_common import best_of_benchmarks, run_python

PROBLEMS = ["MGH09", "Thurber", "BoxBOD", "Rat42", "MGH10", "Eckerle4", "Rat43", "Bennett5"]

SCIPY_TIMER = r"""
import json, re, sys, timeit, warnings
from scipy.optimize import least_squares
warnings.filterwarnings("ignore")
nist, problems, repeats = json.loads(sys.argv[1])

def read(name):
    s1, s2, cert, xs, ys, data = [], [], [], [], [], False
    for line in open(f"{nist}/{name}.dat"):
        t = line.split()
        if len(t) >= 6 and re.match(r"b\d+$", t[0]) and t[1] == "=":
            s1.append(float(t[2])); s2.append(float(t[3])); cert.append(float(t[4]))
        elif t[:1] == ["Data:"] and "Response" not in line:
            data = True
        elif data and len(t) == 2:
            ys.append(float(t[0])); xs.append(float(t[1]))
    return np.array(xs), np.array(ys), np.array(s1), np.array(s2), np.array(cert)

def mgh09(b, x):
    n, d = x * x + x * b[1], x * x + x * b[2] + b[3]
    return b[0] * n / d, np.column_stack([n / d, b[0] * x / d, -b[0] * n * x / d**2,
                                          -b[0] * n / d**2])
def thurber(b, x):
    p = b[0] + x * (b[1] + x * (b[2] + x * b[3])); q = 1 + x * (b[4] + x * (b[5] + x * b[6]))
    f = p / q
    return f, np.column_stack([1 / q, x / q, x**2 / q, x**3 / q, -f * x / q, -f * x**2 / q,
                               -f * x**3 / q])
def boxbod(b, x):
    e = np.exp(-b[1] * x)
    return b[0] * (1 - e), np.column_stack([1 - e, b[0] * x * e])
def rat42(b, x):
    e = np.exp(b[1] - b[2] * x); d = 1 + e
    return b[0] / d, np.column_stack([1 / d, -b[0] * e / d**2, b[0] * x * e / d**2])
def mgh10(b, x):
    u = x + b[2]; e = np.exp(b[1] / u)
    return b[0] * e, np.column_stack([e, b[0] * e / u, -b[0] * e * b[1] / u**2])
def eckerle4(b, x):
    u = (x - b[2]) / b[1]; e = np.exp(-0.5 * u * u)
    return b[0] / b[1] * e, np.column_stack([e / b[1], b[0] * e / b[1]**2 * (u * u - 1),
                                             b[0] / b[1] * e * u / b[1]])
def rat43(b, x):
    e = np.exp(b[1] - b[2] * x); d = 1 + e; f = b[0] * d ** (-1 / b[3])
    return f, np.column_stack([f / b[0], -f / b[3] * e / d, f / b[3] * x * e / d,
                               f * np.log(d) / b[3]**2])
def bennett5(b, x):
    u = b[1] + x; f = b[0] * u ** (-1 / b[2])
    return f, np.column_stack([f / b[0], -f / (b[2] * u), f * np.log(u) / b[2]**2])

models = {"MGH09": mgh09, "Thurber": thurber, "BoxBOD": boxbod, "Rat42": rat42,
          "MGH10": mgh10, "Eckerle4": eckerle4, "Rat43": rat43, "Bennett5": bennett5}
out = {}
for name in problems:
    x, y, s1, s2, cert = read(name)
    model = models[name]
    res = lambda b: model(b, x)[0] - y
    jac = lambda b: model(b, x)[1]
    for start, b0 in ((1, s1), (2, s2)):
        for kind, j in (("analytic", jac), ("numeric", "2-point")):
            fit = lambda: least_squares(res, b0, jac=j, method="lm", xtol=1e-8, ftol=1e-8,
                                        gtol=1e-8, max_nfev=20000)
            r = fit()
            digits = float(-np.log10(np.max(np.abs(r.x - cert) / np.abs(cert)) + 1e-16))
            timer = timeit.Timer(fit)
            number = timer.autorange()[0]
            ms = min(timer.repeat(repeat=repeats, number=number)) / number * 1e3
            out[f"{name}/{start}/{kind}"] = {"ms": ms, "digits": digits, "nfev": int(r.nfev)}
print(json.dumps(out))
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary", help="path of lumex_bench_nonlinear")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "..", "shared", "data", "nist"))
    nist = os.environ.get("LUMEX_NIST_DIR", default)
    if not os.path.isdir(nist):
        sys.exit(f"nonlinear_compare.py: NIST StRD folder not found at {nist} (set LUMEX_NIST_DIR)")
    os.environ["LUMEX_NIST_DIR"] = nist

    ours, labels = best_of_benchmarks(args.binary, args.repetitions, "BM_NLinRegressMarquardt")
    theirs = run_python(SCIPY_TIMER, [nist, PROBLEMS, args.repetitions])
    print(f"NLinRegress (Marquardt) against least_squares(method='lm') on the higher-difficulty "
          f"NIST problems, best of {args.repetitions}")
    worst = 0.0
    for kind, flag in (("analytic", 1), ("numeric", 0)):
        print(f"  {kind} derivatives:")
        for index, name in enumerate(PROBLEMS):
            for start in (1, 2):
                key = f"BM_NLinRegressMarquardt/{index}/{start}/{flag}"
                if key not in ours:
                    sys.exit(f"nonlinear_compare.py: {key} missing from the benchmark output")
                peer = theirs[f"{name}/{start}/{kind}"]
                ratio = ours[key] / peer["ms"]
                worst = max(worst, ratio)
                print(f"    {name:<9} start {start}: ours {ours[key]:9.3f} ms  SciPy "
                      f"{peer['ms']:9.3f} ms  ours/SciPy {ratio:6.2f}   digits: "
                      f"{labels[key].split(', ')[1].split()[0]:>5} ours, "
                      f"{peer['digits']:5.1f} SciPy ({peer['nfev']} evaluations)")
    print(f"  largest ratio {worst:.2f}")


if __name__ == "__main__":
    main()
