#!/usr/bin/python3
# The exact lag-1 autocorrelation of the doubles that the NIST StRD univariate data become when
# read, in rational arithmetic: r1 = sum (y_t - m)(y_{t+1} - m) / sum (y_t - m)^2, m the mean.
# The certified values describe the decimal data; for NumAcc3 and NumAcc4, whose ninth digits
# doubles cannot hold, the stored values have a slightly different r1, which this file gives.
#
# Run: /usr/bin/python3 nist_lag1_exact.py [nist folder]  (writes nist_lag1_exact.txt)
import os
import sys
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
nist = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "..", "..", "shared", "data", "nist")


def data(name):
    ys = []
    with open(os.path.join(nist, name + ".dat")) as f:
        for line in f:
            tok = line.split()
            if len(tok) == 1:
                try:
                    ys.append(float(tok[0]))
                except ValueError:
                    pass
    return ys


lines = ["# exact lag-1 autocorrelation of the stored doubles", "set n lag1"]
for name in ("NumAcc1", "NumAcc2", "NumAcc3", "NumAcc4", "Michelso", "Lew", "Lottery", "Mavro",
             "PiDigits"):
    y = [Fraction(v) for v in data(name)]
    n = len(y)
    m = sum(y) / n
    d = [v - m for v in y]
    r1 = sum(d[t] * d[t + 1] for t in range(n - 1)) / sum(v * v for v in d)
    lines.append("%s %d %.17g" % (name, n, float(r1)))
with open(os.path.join(HERE, "nist_lag1_exact.txt"), "w") as f:
    f.write("\n".join(lines) + "\n")
