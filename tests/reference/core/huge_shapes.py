"""Incomplete gamma and beta functions at shapes of 1e10 and more, by direct quadrature.

Neither R nor mpmath's own incomplete functions can be trusted out here (R's pgamma(1e20, 1e20)
comes out below 1/2, mpmath's series does not converge), so each probability is the integral of
the density, written through its logarithm with mpmath's loggamma at 50 digits and integrated
over pieces of a sixteenth of a standard deviation from 60 standard deviations out, where
nothing is left; far tails of the gamma law are the sums of their series instead. Every point is
the double the test passes, converted exactly.

  gamma_p  a = shape, x          P(a, x)
  gamma_q  a = shape, x          Q(a, x) = 1 - P(a, x)
  poisson  a = k, x = lambda     P(X <= k), X ~ Poisson(lambda), = Q(k + 1, lambda)
  binom    a = k, x = n, p       P(X <= k), X ~ Binomial(n, p), = 1 - I_p(k + 1, n - k)

Run: python3 huge_shapes.py > huge_shapes.txt
"""
import mpmath as mp

mp.mp.dps = 50


def pieces(lo, hi, centre, sd):
    # sixteenth standard deviations: 30 standard deviations out the density falls by a factor
    # e^2 within one piece, which the quadrature integrates to all digits
    steps = [centre + k * sd / 16 for k in range(-959, 961)]
    return [lo] + [t for t in steps if lo < t < hi] + [hi]


def far_tail_series(a, x, upper):
    """P(a, x) for x well below a, or Q(a, x) for x well above: the prefactor times
    sum_k x^k / ((a+1)...(a+k)), or times sum_k (a-1)...(a-k) / x^k; the terms fall at least
    geometrically, by (1 - |x - a| / max(a, x)), and all are positive."""
    if upper:
        log_prefactor = (a - 1) * mp.log(x) - x - mp.loggamma(a)
        ratio = lambda k: (a - k) / x
    else:
        log_prefactor = a * mp.log(x) - x - mp.loggamma(a + 1)
        ratio = lambda k: x / (a + k)
    total, term, k = mp.mpf(1), mp.mpf(1), 1
    while term > total * mp.mpf(10) ** -55:
        term *= ratio(k)
        total += term
        k += 1
    return mp.exp(log_prefactor) * total


def gamma_tail(a, x, upper):
    a, x = mp.mpf(a), mp.mpf(x)
    if (x > a + 10 * mp.sqrt(a)) if upper else (x < a - 10 * mp.sqrt(a)):
        return far_tail_series(a, x, upper)
    log_norm = mp.loggamma(a)
    density = lambda t: mp.exp((a - 1) * mp.log(t) - t - log_norm)
    sd = mp.sqrt(a)
    lo, hi = (x, a + 60 * sd) if upper else (a - 60 * sd, x)
    return mp.quad(density, pieces(lo, hi, a, sd))


def beta_lower(x, a, b):
    """I_x(a, b) for large a and b."""
    a, b, x = mp.mpf(a), mp.mpf(b), mp.mpf(x)
    log_norm = mp.loggamma(a) + mp.loggamma(b) - mp.loggamma(a + b)
    density = lambda t: mp.exp((a - 1) * mp.log(t) + (b - 1) * mp.log1p(-t) - log_norm)
    mean = a / (a + b)
    sd = mp.sqrt(a * b / ((a + b) ** 2 * (a + b + 1)))
    return mp.quad(density, pieces(mean - 60 * sd, x, mean, sd))


def main():
    print("# incomplete gamma and beta at huge shapes by quadrature (huge_shapes.py)")
    print("kind a x value p")
    rows = []
    for a, x in [(1e10, 1e10 + 1), (1e10, 1e10 - 3e6), (1e12, 999990000000.0),
                 (1e15, 1.00000003e15), (1e20, 1e20), (1e20, 1.00000000001e20)]:
        rows.append(("gamma_p", a, x, gamma_tail(a, x, False)))
    for a, x in [(1e10, 1e10 + 3e6), (1e14, 1e14 + 5e7), (1e12, 1e12 + 1)]:
        rows.append(("gamma_q", a, x, gamma_tail(a, x, True)))
    for k, lam in [(1e12, 1e12), (1e12 - 4e6, 1e12)]:
        rows.append(("poisson", k, lam, gamma_tail(k + 1, lam, True)))
    for k, n, p in [(3e11 + 1e6, 1e12, 0.3), (5e11, 1e12, 0.5)]:
        rows.append(("binom", k, n, 1 - beta_lower(p, k + 1, n - k), p))
    for row in rows:
        kind, a, x, value = row[:4]
        p = row[4] if len(row) > 4 else float("nan")
        print("%s %r %r %s %r" % (kind, a, x, mp.nstr(value, 20), p))


main()
