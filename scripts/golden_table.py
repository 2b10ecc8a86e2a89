#!/usr/bin/env python3
"""Expected values for the correction table's tests, computed apart from the C++ code.

The grating's waveform w(x) = sin x + sum K_h sin(h x + PHI_h) on both
channels a quarter period apart (B = w(x + pi/2)), a gain, the limit; the
interpolator's angle at 4096 evenly spaced angles; the conic's ellipse
(golden_signal.py's fit) and the corrected pair's own angle; then a table
of N entries at corrected angles 2 pi j / N, each the correction there
interpolated between the two grid samples whose corrected angles bracket
it, optionally rounded to B-bit signed codes of a step, read with linear
interpolation. Prints the largest error in degrees before any correction,
after the ellipse and after each table; tests/test_correctiontable.cpp
holds what it prints:

    python3 scripts/golden_table.py
"""
import bisect
import math

from golden_evaluation import angle, limit
from golden_signal import N, TWO_PI, ellipse, wrap


def channels(gain, harmonics):
    def w(x):
        return math.sin(x) + sum(k * math.sin(h * x + phi) for h, (k, phi) in harmonics.items())
    a = [limit(gain * w(TWO_PI * i / N)) for i in range(N)]
    b = [limit(gain * w(TWO_PI * i / N + math.pi / 2)) for i in range(N)]
    return a, b


def table_error(corrected, error, size, bits=0, step=0.0):
    pairs = sorted(((c % TWO_PI), -e) for c, e in zip(corrected, error))
    xs = [p[0] for p in pairs]
    ys = [p[1] for p in pairs]

    def at(x):
        j = bisect.bisect_right(xs, x)
        lo, hi = (j - 1) % N, j % N
        x0, x1 = xs[lo] - (TWO_PI if j == 0 else 0), xs[hi] + (TWO_PI if j == N else 0)
        return ys[lo] + (x - x0) / (x1 - x0) * (ys[hi] - ys[lo])

    entries = [at(TWO_PI * j / size) for j in range(size)]
    if bits:
        top = 2 ** (bits - 1) - 1
        step = step or max(abs(e) for e in entries) / top
        entries = [step * max(-top - 1, min(top, math.floor(e / step + 0.5))) for e in entries]

    def read(x):
        p = (x % TWO_PI) / TWO_PI * size
        k = min(int(p), size - 1)
        return entries[k] + (p - k) * (entries[(k + 1) % size] - entries[k])

    return max(abs(wrap(e + read(c))) for c, e in zip(corrected, error))


def study(gain, harmonics, tables):
    a, b = channels(gain, harmonics)
    before = max(abs(wrap(angle(a[i], b[i]) - TWO_PI * i / N)) for i in range(N))
    oa, ob, aa, ab, f = ellipse(a, b)
    corrected, error = [], []
    for i in range(N):
        cosine = (b[i] - ob) / ab
        sine = ((a[i] - oa) / aa - math.sin(f) * cosine) / math.cos(f)
        c = math.atan2(sine, cosine)
        corrected.append(c)
        error.append(wrap(c - TWO_PI * i / N))
    after = max(abs(e) for e in error)
    return [math.degrees(v) for v in
            [before, after] + [table_error(corrected, error, *t) for t in tables]]


# The chip's code step: 4 of 16384 steps of a turn.
CHIP_STEP = 4 * TWO_PI / 16384
CASES = {
    # name: gain, {order: (K, PHI)}, tables (size, bits, step)
    "Harmonic3": (1.0, {3: (0.02, 0.5)}, [(64, 8, CHIP_STEP), (256,)]),
    "Published": (0.95, {2: (0.02, 0.0), 3: (0.01, math.pi)}, [(64, 8, CHIP_STEP), (256,)]),
}

if __name__ == "__main__":
    for name, (gain, harmonics, tables) in CASES.items():
        print(name, "{" + ", ".join(repr(v) for v in study(gain, harmonics, tables)) + "}")
