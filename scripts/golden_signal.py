#!/usr/bin/env python3
"""Expected values for the signal model's tests, computed apart from the C++ code.

The grating's waveform w(x) = sin x + K sin(3x + PHI) on both channels a
quarter period apart, gain and offset, the limit; the interpolator's angle
at 4096 evenly spaced angles, its error's statistics and harmonics by the
discrete Fourier transform; then a calibration: a conic fitted by least
squares to the values about their middle (Gaussian elimination), the
ellipse's parameters taken from it, the corrected pair's own angle (atan2,
not limited). tests/test_signalmodel.cpp holds what it prints:

    python3 scripts/golden_signal.py

Then the same error for a waveform with harmonics of any order,
w(x) = sin x + sum of K_h sin(h x + PHI_h), B taken as w(x + pi/2) itself.
"""
import math

from golden_evaluation import angle, limit

N = 4096
PI = math.pi
TWO_PI = 2.0 * math.pi


def wrap(e):
    while e > PI:
        e -= TWO_PI
    while e <= -PI:
        e += TWO_PI
    return e


def channels(ga, oa, pa, gb, ob, pb, k, phi):
    a, b = [], []
    for i in range(N):
        t = TWO_PI * i / N
        xa, xb = t + pa, t + pb
        a.append(limit(ga * (math.sin(xa) + k * math.sin(3 * xa + phi)) + oa))
        b.append(limit(gb * (math.cos(xb) - k * math.cos(3 * xb + phi)) + ob))
    return a, b


def figures(errors):
    mean = sum(errors) / N
    rms = math.sqrt(sum(e * e for e in errors) / N)
    out = [max(errors) - min(errors), max(abs(e) for e in errors), mean, rms]
    for h in range(1, 5):
        p = 2.0 / N * sum(e * math.cos(h * TWO_PI * i / N) for i, e in enumerate(errors))
        q = 2.0 / N * sum(e * math.sin(h * TWO_PI * i / N) for i, e in enumerate(errors))
        out += [math.hypot(p, q), math.atan2(-q, p)]
    return out


def solve(m, r):
    n = len(r)
    m = [row[:] + [r[i]] for i, row in enumerate(m)]
    for c in range(n):
        pivot = max(range(c, n), key=lambda i: abs(m[i][c]))
        m[c], m[pivot] = m[pivot], m[c]
        for i in range(c + 1, n):
            f = m[i][c] / m[c][c]
            for j in range(c, n + 1):
                m[i][j] -= f * m[c][j]
    x = [0.0] * n
    for c in reversed(range(n)):
        x[c] = (m[c][n] - sum(m[c][j] * x[j] for j in range(c + 1, n))) / m[c][c]
    return x


def ellipse(a, b):
    """(offset A, offset B, amplitude A, amplitude B, phase of A against B).

    The conic is fitted to each channel taken about the middle of its range
    and divided by half the range: for values off an ellipse the algebraic
    fit depends on the coordinates, and these are the capture's.
    """
    mid_a, half_a = (max(a) + min(a)) / 2, (max(a) - min(a)) / 2
    mid_b, half_b = (max(b) + min(b)) / 2, (max(b) - min(b)) / 2
    m = [[0.0] * 5 for _ in range(5)]
    r = [0.0] * 5
    for x, y in zip(a, b):
        x, y = (x - mid_a) / half_a, (y - mid_b) / half_b
        row = [x * x, y * y, x * y, x, y]
        for i in range(5):
            r[i] += row[i]
            for j in range(5):
                m[i][j] += row[i] * row[j]
    ca, cb, cc, cd, ce = solve(m, r)
    # Centre where the gradient vanishes, then the conic about it:
    # ca U^2 + cb V^2 + cc U V = kk.
    det = 4 * ca * cb - cc * cc
    x0 = (cc * ce - 2 * cb * cd) / det
    y0 = (cc * cd - 2 * ca * ce) / det
    kk = 1 + ca * x0 * x0 + cb * y0 * y0 + cc * x0 * y0
    # U = AA sin(t + f), V = AB cos t: U^2/AA^2 - 2 sin f U V/(AA AB) + V^2/AB^2 = cos^2 f.
    s = -cc / (2 * math.sqrt(ca * cb))
    c2 = 1 - s * s
    return (mid_a + half_a * x0, mid_b + half_b * y0, half_a * math.sqrt(kk / ca / c2),
            half_b * math.sqrt(kk / cb / c2), math.asin(s))


def study(case):
    a, b = channels(*case)
    errors = [wrap(angle(a[i], b[i]) - TWO_PI * i / N) for i in range(N)]
    oa, ob, aa, ab, f = ellipse(a, b)
    corrected = []
    for i in range(N):
        cosine = (b[i] - ob) / ab
        sine = ((a[i] - oa) / aa - math.sin(f) * cosine) / math.cos(f)
        corrected.append(wrap(math.atan2(sine, cosine) - TWO_PI * i / N))
    return figures(errors), (oa, ob, aa, ab, f), figures(corrected)


CASES = {
    # name: gain, offset, phase of A; of B; K, PHI
    "Harmonic3": (1.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.02, 0.5),
    "Distorted": (0.95, 0.03, 0.05, 0.9, -0.02, -0.02, -0.03, 1.2),
    "LargeHarmonic": (0.9, -0.01, 0.0, 0.9, 0.02, 0.1, 0.2, -2.0),
    "ClippedHarmonic": (1.3, 0.1, 0.0, 1.0, 0.0, 0.0, 0.05, 0.0),
}

def waveform(x, harmonics):
    return math.sin(x) + sum(k * math.sin(h * x + phi) for h, k, phi in harmonics)


def harmonic_errors(ga, oa, pa, gb, ob, pb, harmonics):
    errors = []
    for i in range(N):
        t = TWO_PI * i / N
        a = limit(ga * waveform(t + pa, harmonics) + oa)
        b = limit(gb * waveform(t + PI / 2 + pb, harmonics) + ob)
        errors.append(wrap(angle(a, b) - t))
    return errors


HARMONIC_CASES = {
    # name: gain, offset, phase of A; of B; (order, K, PHI) of each harmonic
    "Published": (0.95, 0.0, 0.0, 0.95, 0.0, 0.0, ((2, 0.02, 0.0), (3, 0.01, PI))),
    "AllOrders": (1.05, 0.02, 0.03, 0.97, -0.01, -0.02,
                  ((2, 0.013, 0.4), (3, -0.021, 2.5), (4, 0.008, -1.1), (5, 0.017, 0.9),
                   (6, -0.006, 3.0), (7, 0.011, -2.2), (8, 0.004, 1.7), (9, -0.009, -0.3))),
    # A clips: 1.25 times a waveform that peaks above one.
    "ClippedEven": (1.25, 0.05, 0.0, 0.9, 0.0, 0.1, ((2, 0.05, 1.0), (5, -0.03, 0.0))),
}

if __name__ == "__main__":
    for name, case in HARMONIC_CASES.items():
        error = figures(harmonic_errors(*case))
        print(f"{name} {case}")
        print("  error     {" + ", ".join(repr(v) for v in error) + "}")
        print(f"  largest magnitude {math.degrees(error[1])!r} deg")
        # Channel A's largest magnitude before the limit, on a grid finer than the model's.
        ga, oa = case[0], case[1]
        print(f"  peak A {max(abs(oa + ga * waveform(TWO_PI * i / 200000, case[6])) for i in range(200000))!r}")
    for name, case in CASES.items():
        error, coefficients, corrected = study(case)
        print(f"{name} {case}")
        print("  error     {" + ", ".join(repr(v) for v in error) + "}")
        print("  ellipse   {" + ", ".join(repr(v) for v in coefficients) + "}")
        print("  corrected {" + ", ".join(repr(v) for v in corrected) + "}")
