#!/usr/bin/env python3
"""Expected values for the evaluation tests, computed apart from the C++ code.

A second, plain implementation of the channel, the arctangent angle, the
up/down counter and the forward and return passes, written from the rules
in the README's terms (not translated from the C++ sources), in Python's
IEEE doubles. tests/test_golden.cpp holds what it prints; run it again
after changing a rule on purpose:

    python3 scripts/golden_evaluation.py
"""
import math

FULL_TURN = 6.28318530717959  # the model's full-turn constant
PI = 3.141592653589793
TWO_PI = 6.283185307179586
NEAR_ZERO = 1e-10
EPS = 1e-9
SAMPLES_PER_COUNT = 5


def limit(v):
    return 1.0 if v > 1.0 else (-1.0 if v < -1.0 else v)


def value(kind, gain, offset, phase, angle):
    wave = math.sin if kind == "sin" else math.cos
    return limit(wave(angle + phase) * gain + offset)


def angle(a, b):
    a, b = limit(a), limit(b)
    if abs(b) >= NEAR_ZERO or b != b:
        t = math.atan(a / b)
        return t + PI if b < 0 else (t + TWO_PI if a < 0 else t)
    if b < 0:
        return math.atan(a / -NEAR_ZERO) + PI
    t = math.atan(a / NEAR_ZERO)
    return t + TWO_PI if a < 0 else t


def wrap(p):
    while p > FULL_TURN:
        p -= FULL_TURN
    while p < 0:
        p += FULL_TURN
    return p


def step_direction(p, q, r):
    p, q = wrap(p), wrap(q)
    if abs(p - q) > abs(p - (q - FULL_TURN)):
        q -= FULL_TURN
    if abs(q - p) > abs(q - (p - FULL_TURN)):
        p -= FULL_TURN
    w = abs(r)
    if p > (q + w) - EPS:
        return 1
    if (q - w) + EPS > p:
        return -1
    return 0


def evaluate(distance, count, chan_a, chan_b):
    """Returns (points, steps, flag, counter after forward, counter after return)."""
    n = SAMPLES_PER_COUNT * count
    d_theta, s = FULL_TURN / n, FULL_TURN / count
    dx, q = distance / n, distance / count
    theta = -0.5 * d_theta
    points, steps = [], ""
    ref = x = c = 0.0
    for sign in (+1, -1):  # forward, then back with the cosine inverted
        for i in range(n):
            phi = angle(value("sin", *chan_a, theta), sign * value("cos", *chan_b, theta))
            k = 0
            if i == 0:
                ref = phi
                x = -(dx + dx) if sign > 0 else (dx + dx) + c
                if sign > 0:
                    c = 0.0
            else:
                k = step_direction(phi, ref, s)
                if k:
                    ref += k * s
                    c += sign * k * q
            steps += "+" if sign * k > 0 else ("-" if sign * k < 0 else ".")
            points.append((x, x - c))
            theta += sign * d_theta
            x += sign * dx
        if sign > 0:
            forward_end = c
            flag = abs(c - distance) > q + EPS
    flag = flag or abs(c) > q + EPS
    return points, steps, flag, forward_end, c


CASES = {
    # name: pitch, count, channel A (gain, offset, phase), channel B
    "Tilted": (0.040, 8, (1.2, 0.1, 0.2), (0.9, -0.05, -0.1)),
    "Clipped": (0.020, 4, (1.6, 0.35, -0.3), (1.0, -0.2, 0.4)),
    "ReturnOnly": (0.080, 8, (1.86, -0.13, -0.6624), (1.41, -0.23, 0.6705)),
    "TwoCountsShort": (0.100, 10, (1.76, 0.12, -0.105467), (0.32, -0.22, -0.139884)),
}

if __name__ == "__main__":
    for name, (pitch, count, a, b) in CASES.items():
        points, steps, flag, forward_end, end = evaluate(pitch, count, a, b)
        print(f"{name}: flag {flag}, forward end {forward_end!r}, return end {end!r}")
        print(f"  steps {steps}")
        for i in (0, 1, 2, len(points) // 2 - 1, len(points) // 2, len(points) - 1):
            x, e = points[i]
            print(f"  row {i + 1}: {x!r}, {e!r}   |{i + 1:5d} {x:10.4f} {e:10.4f}|")
