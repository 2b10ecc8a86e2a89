#!/usr/bin/env python3
"""How often the truth lies within 2u of vantrel-report's fitted ellipse.

Draws noisy captures of one known ellipse with vantrel_makecapture over
many seeds, on half a period and on three, and counts per parameter the
captures whose fitted value lies within twice its uncertainty of the
truth; about 95 % is honest. Usage: fit_coverage.py BUILD_DIR [SEEDS]
"""
import json
import os
import subprocess
import sys
import tempfile

TRUTH = {"offset_a": 0.04, "offset_b": -0.03, "amplitude_a": 1.0, "amplitude_b": 0.96,
         "phase_rad": 0.05}
OPTIONS = {"offset_a": "--offset-a", "offset_b": "--offset-b", "amplitude_a": "--amplitude-a",
           "amplitude_b": "--amplitude-b", "phase_rad": "--phase"}


def main():
    build = sys.argv[1]
    seeds = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    make = os.path.join(build, "tools", "vantrel_makecapture")
    report = os.path.join(build, "report", "vantrel-report")
    with tempfile.TemporaryDirectory() as directory:
        path = os.path.join(directory, "capture.csv")
        for periods in ("0.5", "3"):
            covered = dict.fromkeys(TRUTH, 0)
            for seed in range(1, seeds + 1):
                command = [make, "--periods", periods, "--samples", "4000", "--noise", "0.02",
                           "--seed", str(seed)]
                for key, value in TRUTH.items():
                    command += [OPTIONS[key], str(value)]
                with open(path, "w") as capture:
                    subprocess.run(command, stdout=capture, check=True)
                result = subprocess.run([report, "--capture", path, "--format", "json"],
                                        capture_output=True, text=True)
                figures = json.loads(result.stdout)
                for key, value in TRUTH.items():
                    off = abs(figures["ellipse"][key] - value)
                    covered[key] += off <= 2.0 * figures["uncertainty"][key]
            print("%s periods, %d seeds: %s" % (periods, seeds, ", ".join(
                "%s %.0f %%" % (key, 100.0 * count / seeds) for key, count in covered.items())))


if __name__ == "__main__":
    main()
