"""Reference values of ADNormalCDF: the Lugannani-Rice saddle-point approximation of the
distribution function of sum_{j=1}^{50} chi2_1 / (j (j + 1)), evaluated independently: the
saddle point solves K'(t) = x by Brent's method to full precision (the library uses Newton),
with the cumulant sums over exactly j = 1 .. 50.

Run: /usr/bin/python3 ad_normal_cdf.py  (writes ad_normal_cdf.txt)
"""
import numpy as np
from scipy.optimize import brentq
from scipy.special import erf

lam = 1.0 / (np.arange(1, 51) * np.arange(2, 52))


def K(t):
    return -0.5 * np.sum(np.log1p(-2 * lam * t))


def K1(t):
    return np.sum(lam / (1 - 2 * lam * t))


def K2(t):
    return 2 * np.sum((lam / (1 - 2 * lam * t)) ** 2)


def cdf(x):
    t = brentq(lambda s: K1(s) - x, -1e8, 1 - 1e-15, xtol=1e-300, rtol=8.9e-16, maxiter=500)
    u = t * np.sqrt(K2(t))
    w = np.sign(t) * np.sqrt(2 * (t * x - K(t)))
    phi = np.exp(-w * w / 2) / np.sqrt(2 * np.pi)
    return 0.5 + 0.5 * erf(w / np.sqrt(2)) - phi * (1 / u - 1 / w)


xs = [0.1, 0.2, 0.3, 0.5, 0.75, 0.9, 1.2, 1.5, 2.0, 2.492, 3.0, 3.857, 5.0, 7.0, 10.0]
with open("ad_normal_cdf.txt", "w") as f:
    f.write("x cdf\n")
    for x in xs:
        f.write("%.17g %.17g\n" % (x, cdf(x)))
