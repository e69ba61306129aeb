"""Reference counts and bins of equal-width and centred histograms, from NumPy's histogram.

Equal bins: numpy.histogram(x, bins=NumBins, range=(Min, Max)), or without range for the
sample's extremes. NumPy counts a value equal to the upper limit in the last bin and ignores
values outside the range, the same rule as the library. Its edges are linspace(Min, Max,
NumBins + 1); centres are the midpoints Min + (k + 1/2) w written as such.

Centred bins: the library turns m ascending centres into edges halfway between neighbours, the
first edge half a gap below the first centre and the last edge at the last centre, then widens
the outer edges to the data's extremes, so every value is counted; a value equal to an edge
belongs to the bin below it, (e_k, e_k+1]. The script applies that rule to get the edges, and
counts with numpy.histogram of -x over the negated edges, whose half-open bins [-e_k+1, -e_k)
are the library's bins mirrored. The integer faithful data put values exactly on such edges.

Apart from those exact hits, a value lying on an edge to within rounding could fall on either
side in two correct programs, so the script checks that no value lies within 1e-9 (1e-5 for
single precision) of an interior edge, relative to the bin width, without being on it; for
equal bins it also rules out exact hits. The data below pass these checks.

Single precision: the same samples stored as float32 and counted by NumPy in float32.

Run: /usr/bin/python3 histograms.py  (writes histograms_data.txt, histograms.txt and
histograms_centres.txt)
"""
import csv
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def faithful_waiting():
    path = os.path.join(HERE, "../../../examples/data/faithful.csv")
    with open(path) as f:
        return np.array([float(row["waiting"]) for row in csv.DictReader(f)])


rng = np.random.default_rng(20261207)
samples = [
    rng.normal(0.0, 1.0, 1000),          # 0
    rng.exponential(2.0, 500),           # 1
    faithful_waiting(),                  # 2 integers 43 .. 96
    rng.normal(10.0, 3.0, 7),            # 3 a small sample
    rng.uniform(-5.0, 5.0, 3000),        # 4 several blocks of the kernel
    1e6 + rng.normal(0.0, 1e-3, 400),    # 5 far from zero, narrow
]

# (sample, precision, NumBins, (Min, Max) or None for the sample's extremes)
equal_cases = [
    (0, "double", 10, None),
    (0, "double", 1, None),
    (0, "double", 37, None),
    (0, "double", 8, (-1.5, 2.0)),       # values outside the limits are not counted
    (1, "double", 20, None),
    (1, "double", 5, (0.0, 4.0)),
    (2, "double", 10, None),
    (2, "double", 12, None),
    (2, "double", 6, (50.5, 90.5)),
    (3, "double", 4, None),
    (4, "double", 100, None),
    (4, "double", 7, (-20.0, 20.0)),     # limits beyond the data
    (5, "double", 16, None),
    (0, "single", 10, None),
    (0, "single", 8, (-1.5, 2.0)),
    (1, "single", 20, None),
    (2, "single", 12, None),
    (4, "single", 100, None),
]

centre_cases = [
    (0, "double", [-2.0, -1.0, 0.0, 1.0, 2.0]),
    (0, "double", [-1.5, 0.0, 0.25, 2.0]),   # uneven gaps
    (0, "double", [0.3]),                    # one bin takes everything
    (1, "double", [1.0, 3.0, 5.0, 7.0]),
    (2, "double", [45.0, 55.0, 65.0, 75.0, 85.0, 95.0]),
    (2, "double", [60.0, 70.0, 80.0]),       # data beyond both outer centres
    (4, "double", list(np.arange(-4.5, 5.0, 1.0))),
    (0, "single", [-2.0, -1.0, 0.0, 1.0, 2.0]),
    (2, "single", [60.0, 70.0, 80.0]),
]


def check_off_edges(x, edges, rel, exact_hits_allowed=False):
    inner = np.asarray(edges[1:-1], dtype=np.float64)
    if inner.size == 0:
        return
    width = np.min(np.diff(np.asarray(edges, dtype=np.float64)))
    xs = np.asarray(x, dtype=np.float64)
    gaps = np.abs(xs[:, None] - inner[None, :])
    if exact_hits_allowed:
        gaps = gaps[gaps > 0]
    assert np.min(gaps) > rel * width, f"a value lies within {np.min(gaps)} of an edge"


def fmt(v):
    return repr(float(v)) if np.isfinite(v) else ("NaN" if np.isnan(v) else ("Inf" if v > 0 else "-Inf"))


def main():
    with open(os.path.join(HERE, "histograms_data.txt"), "w") as f:
        f.write("# the samples, one value a line\nsample value\n")
        for k, x in enumerate(samples):
            for v in x:
                f.write(f"{k} {v:.17g}\n")

    with open(os.path.join(HERE, "histograms.txt"), "w") as f:
        f.write("# equal bins: k-th count, edge and centre of each case; precision 0 single, 1 double;\n")
        f.write("# limits 0 means the sample's extremes; the row k = NumBins holds the last edge only\n")
        f.write("case sample precision numbins limits min max k count edge centre\n")
        for c, (s, prec, nb, rng_) in enumerate(equal_cases):
            dtype = np.float32 if prec == "single" else np.float64
            x = samples[s].astype(dtype)
            counts, edges = np.histogram(x, bins=nb, range=rng_)
            check_off_edges(x, edges, 1e-5 if prec == "single" else 1e-9)
            lo, hi = (float(np.min(x)), float(np.max(x))) if rng_ is None else rng_
            w = (hi - lo) / nb
            for k in range(nb + 1):
                count = counts[k] if k < nb else float("nan")
                centre = lo + w / 2 + k * w if k < nb else float("nan")
                f.write(f"{c} {s} {int(prec == 'double')} {nb} {int(rng_ is not None)} "
                        f"{lo:.17g} {hi:.17g} {k} {fmt(count)} {float(edges[k]):.17g} "
                        f"{fmt(centre)}\n")

    with open(os.path.join(HERE, "histograms_centres.txt"), "w") as f:
        f.write("# centred bins: k-th centre and count of each case; precision 0 single, 1 double\n")
        f.write("case sample precision k centre count\n")
        for c, (s, prec, centres) in enumerate(centre_cases):
            dtype = np.float32 if prec == "single" else np.float64
            x = samples[s].astype(dtype).astype(np.float64)
            m = len(centres)
            half = [(centres[i + 1] - centres[i]) / 2 for i in range(m - 1)] + [0.0]
            edges = [centres[0] - half[0]] + [centres[i] + half[i] for i in range(m)]
            edges[0] = min(edges[0], np.min(x))
            edges[-1] = max(edges[-1], np.max(x))
            counts = np.histogram(-x, bins=-np.array(edges)[::-1])[0][::-1]
            check_off_edges(x, edges, 1e-5 if prec == "single" else 1e-9, True)
            assert counts.sum() == x.size
            for k in range(m):
                f.write(f"{c} {s} {int(prec == 'double')} {k} {centres[k]:.17g} {counts[k]}\n")


main()
