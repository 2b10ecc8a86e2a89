#!/usr/bin/env python3
"""How often the truth lies within 2u of vantrel-report's capture figures.

Draws noisy captures of one known signal with vantrel_makecapture over
many seeds, on half a period and on three, and counts per figure the
captures whose value lies within twice its uncertainty of the truth; about
95 % is honest. The truth is what the same capture gives without noise:
the ellipse the generator drew, its third harmonic, and the error's
peak-to-peak over the angles the capture covers.
Usage: fit_coverage.py BUILD_DIR [SEEDS]
"""
import json
import os
import subprocess
import sys
import tempfile

SIGNAL = ["--offset-a", "0.04", "--offset-b", "-0.03", "--amplitude-b", "0.96", "--phase",
          "0.05", "--harmonic3", "0.01", "--samples", "4000"]
FIGURES = ["offset_a", "offset_b", "amplitude_a", "amplitude_b", "phase_rad", "harmonic3",
           "error_pp_rad"]


def figures(report, path):
    result = subprocess.run([report, "--capture", path, "--format", "json"], capture_output=True,
                            text=True, check=False)
    data = json.loads(result.stdout)
    values = dict(data["ellipse"])
    values["harmonic3"] = data["distortion"]["harmonic3"]
    values["error_pp_rad"] = data["measured_error"]["peak_to_peak"]["rad"]
    return values, data["uncertainty"]


def capture(make, path, periods, extra):
    with open(path, "w") as out:
        subprocess.run([make, "--periods", periods] + SIGNAL + extra, stdout=out, check=True)


def main():
    build = sys.argv[1]
    seeds = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    make = os.path.join(build, "tools", "vantrel_makecapture")
    report = os.path.join(build, "report", "vantrel-report")
    with tempfile.TemporaryDirectory() as directory:
        path = os.path.join(directory, "capture.csv")
        for periods in ("0.5", "3"):
            capture(make, path, periods, [])
            truth, _ = figures(report, path)
            covered = dict.fromkeys(FIGURES, 0)
            for seed in range(1, seeds + 1):
                capture(make, path, periods, ["--noise", "0.02", "--seed", str(seed)])
                values, uncertainty = figures(report, path)
                for key in FIGURES:
                    covered[key] += abs(values[key] - truth[key]) <= 2.0 * uncertainty[key]
            print("%s periods, %d seeds: %s" % (periods, seeds, ", ".join(
                "%s %.0f %%" % (key, 100.0 * count / seeds) for key, count in covered.items())))


if __name__ == "__main__":
    main()
