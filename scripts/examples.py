#!/usr/bin/env python3
"""Writes examples/: the captures, made by the project's own generator, the
walk-through's plots, and examples/README.md with every figure in it taken
from what vantrel-report says of the captures.

    scripts/examples.py [BUILD_DIR]      (default: build/)
"""
import json
import math
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
MAKE = os.path.join(BUILD, "tools", "vantrel_makecapture")
REPORT = os.path.join(BUILD, "report", "vantrel-report")
EXAMPLES = os.path.join(ROOT, "examples")

# The head every capture but two is made from: offsets, a 5 % amplitude
# mismatch and a 0.08 rad phase error over three periods.
HEAD = ["--amplitude-a", "1.0", "--amplitude-b", "0.95", "--offset-a", "0.05",
        "--offset-b", "-0.03", "--phase", "0.08", "--periods", "3", "--samples", "3000"]
TRUTH = {"offset_a": 0.05, "offset_b": -0.03, "amplitude_a": 1.0, "amplitude_b": 0.95,
         "phase_rad": 0.08}
# 12-bit counts over +-1.2 V: 2048 counts a 1.2 V, centred on 2048.
COUNTS = 2048 / 1.2
TRUTH_COUNTS = {"offset_a": 0.05 * COUNTS, "offset_b": -0.03 * COUNTS,
                "amplitude_a": COUNTS, "amplitude_b": 0.95 * COUNTS, "phase_rad": 0.08}

# file, what it shows, generator options, report options, the truth.
# Compared with the model's channels rather than the fitted ellipse: a
# second harmonic moves the ellipse's centre off the channels' mean.
CHANNELS = {"channels": True}

CAPTURES = [
    ("clean.csv", "a clean pair: two columns, no header", HEAD, [], TRUTH),
    ("noisy.csv", "the same with noise of 0.01 on each channel", HEAD + ["--noise", "0.01", "--seed", "7"],
     [], TRUTH),
    ("harmonic3.csv", "ideal amplitudes and no offsets, but a 3 % third-harmonic waveform distortion",
     ["--periods", "3", "--samples", "3000", "--harmonic3", "0.03"], [],
     {"offset_a": 0, "offset_b": 0, "amplitude_a": 1, "amplitude_b": 1, "phase_rad": 0}),
    ("scope-export.csv", "an oscilloscope export: four header lines, a time column, CRLF, signals "
     "on a 2.5 V reference, noise 0.002 V",
     ["--amplitude-a", "0.5", "--amplitude-b", "0.48", "--offset-a", "0.02", "--offset-b", "-0.01",
      "--phase", "-0.05", "--periods", "2", "--samples", "2000", "--noise", "0.002", "--bias", "2.5",
      "--scope"], ["--zero", "2.5"],
     {"offset_a": 0.02, "offset_b": -0.01, "amplitude_a": 0.5, "amplitude_b": 0.48,
      "phase_rad": -0.05}),
    ("numbered-header.csv", "a header whose first line is numeric (x-axis,1,2) over a units line "
     "(second,Volt,Volt)", HEAD + ["--shape", "numbered"], [], TRUTH),
    ("metadata-header.csv", "thirteen metadata lines, some numeric (Vertical Scale,0.2,0.2; "
     "Vertical Offset,0,0)", HEAD + ["--shape", "metadata"], [], TRUTH),
    ("european.csv", "semicolons and decimal commas, as European spreadsheets and loggers write",
     HEAD + ["--shape", "european"], [], TRUTH),
    ("quoted.csv", "every field in double quotes", HEAD + ["--shape", "quoted"], [], TRUTH),
    ("adc12-counts.csv", "unsigned 12-bit ADC counts centred on 2048 (1.2 V half scale)",
     HEAD + ["--adc-bits", "12", "--adc-range", "1.2"], ["--zero", "2048"], TRUTH_COUNTS),
    ("glitches.csv", "three glitch samples, noise 0.002", HEAD + ["--noise", "0.002", "--glitches", "3"],
     [], TRUTH),
    ("overrange.csv", "two overrange markers (9.9E37) in an oscilloscope export",
     HEAD + ["--overrange", "2", "--shape", "scope"], ["--skip-bad-rows"], TRUTH),
    ("clipped.csv", "channel A clipped at an instrument's rail of +-0.9 V",
     HEAD + ["--rail-a", "0.9"], [], TRUTH),
    ("cut-short.csv", "a last line cut short while the file was written", HEAD + ["--cut"], [], TRUTH),
    ("logger-columns.csv", "a logger's four columns, Time, SIN, Motor current, COS: the channels "
     "chosen by name", HEAD + ["--shape", "columns"], ["--columns", "SIN,COS"], TRUTH),
    ("timestamps.csv", "ISO 8601 date and time in the first column",
     HEAD + ["--shape", "timestamp"], [], TRUTH),
    ("units.csv", "each value with its unit, 0.123V", HEAD + ["--shape", "units"], [], TRUTH),
    ("quoted-commas.csv", "decimal commas in double quotes in a comma-separated file",
     HEAD + ["--shape", "quoted-comma"], [], TRUTH),
    ("old-mac.csv", "tabs, and lines ended by a carriage return alone",
     HEAD + ["--shape", "old-mac"], [], TRUTH),
    ("missing.csv", "two samples an instrument wrote as ---, the first in the third row",
     HEAD + ["--missing", "2"], ["--skip-bad-rows"], TRUTH),
    ("slow-noisy.csv", "a slow head: 0.3 of a period with noise of 0.005",
     HEAD[:-4] + ["--periods", "0.3", "--samples", "3000", "--noise", "0.005", "--seed", "3"], [],
     TRUTH),
    ("chip-example.csv", "the interpolator chips' published example, 2 % second and 1 % third "
     "harmonic (phase pi), amplitudes 0.95, in an oscilloscope export at a steady speed, noise 0.0005",
     ["--amplitude-a", "0.95", "--amplitude-b", "0.95", "--harmonic", "2,0.02",
      "--harmonic", "3,0.01,3.141592653589793", "--motion", "steady", "--periods", "5",
      "--samples", "5000", "--noise", "0.0005", "--scope"], [],
     dict(CHANNELS, offset_a=0, offset_b=0, amplitude_a=0.95, amplitude_b=0.95, phase_rad=0)),
]


def fitted(data, channels):
    """The fitted figures: the ellipse's, or the model's channels in the capture's units."""
    if not channels:
        return data["ellipse"]
    model, scale = data["model"], data["scale"]
    return {"offset_a": model["offset_a"] * scale, "offset_b": model["offset_b"] * scale,
            "amplitude_a": model["gain_a"] * scale, "amplitude_b": model["gain_b"] * scale,
            "phase_rad": model["phase_a"]}


def run(command, check=True):
    result = subprocess.run(command, cwd=EXAMPLES, capture_output=True, text=True)
    if check and result.returncode not in (0, 1):
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stderr))
    return result


def shown(options):
    return " ".join(options)


def number(value, digits=4):
    return "%.*g" % (digits, value)


def main():
    rows = []
    for name, what, make, read, truth in CAPTURES:
        with open(os.path.join(EXAMPLES, name), "wb") as out:
            subprocess.run([MAKE] + make, stdout=out, check=True)
        result = run([REPORT, "--capture", name, "--format", "json"] + read)
        data = json.loads(result.stdout)
        ellipse = fitted(data, truth.get("channels", False))
        truth = {key: value for key, value in truth.items() if key != "channels"}
        scale = max(abs(truth["amplitude_a"]), abs(truth["amplitude_b"]))
        deviation = max(abs(ellipse[key] - truth[key]) / (scale if key != "phase_rad" else 1.0)
                        for key in truth)
        # The same in standard uncertainties: about 2 or less is honest.
        within = max(abs(ellipse[key] - truth[key]) / max(data["uncertainty"][key], 1e-300)
                     for key in truth)
        measured = data["measured_error"]["peak_to_peak"]["percent_period"]
        simulated = data["simulation"]["interpolation_error"]["peak_to_peak"]["percent_period"]
        rows.append((name, what, make, read, data, (deviation, within), measured, simulated))

    walk = run([REPORT, "--capture", "clean.csv", "--pitch", "0.040", "--resolution", "0.0010",
                "--plot", "clean-error.png", "--scope", "clean-xy.png", "--size", "600x450"])

    lines = [
        "# Example captures for `vantrel-report --capture`",
        "",
        "Synthetic two-channel captures, written by the project's own generator",
        "`vantrel_makecapture` (`tools/makecapture.cpp`, built with everything else",
        "into `build/tools/`) from known parameters, so that what the fit gives back",
        "can be compared with what went in. `scripts/examples.py` writes them, runs",
        "`vantrel-report` on each and writes this page from what it says. The generator",
        "writes",
        "",
        "    A = offset-a + amplitude-a (sin(t + phase) + h3 sin 3(t + phase)) + noise",
        "    B = offset-b + amplitude-b (cos t - h3 cos 3t) + noise",
        "",
        "(B carries A's waveform a quarter period ahead), with t running over the",
        "periods at a speed that varies by 30 %, so the samples are not evenly",
        "spaced in angle, and Gaussian noise from a fixed seed; then what the",
        "instrument and its export add: a reference level, ADC counts, a rail,",
        "glitches, overrange markers, the file's layout.",
        "",
        "| file | what it shows | made with `vantrel_makecapture ...` | read with `vantrel-report --capture FILE ...` |",
        "|---|---|---|---|",
    ]
    for name, what, make, read, *_ in rows:
        lines.append("| `%s` | %s | `%s` | %s |" % (name, what, shown(make),
                                                  "`%s`" % shown(read) if read else ""))
    lines += [
        "",
        "What the fit makes of them (`--format json`); the deviation is the largest",
        "difference from the parameters the capture was made from, offsets and",
        "amplitudes over the larger amplitude, the phase in radians:",
        "",
        "| file | rows, header lines, bad rows | offsets A, B | amplitudes A, B | phase (rad) | deviation | in u | outliers | clipped A, B | fit residual (% amplitude) | measured / simulated peak-to-peak error (% period) | warnings |",
        "|---|---|---|---|---|---:|---:|---:|---|---:|---|---|",
    ]
    CHANNEL_FILES = {name for name, _, _, _, truth in CAPTURES if truth.get("channels")}
    for name, what, make, read, data, deviation, measured, simulated in rows:
        e = fitted(data, name in CHANNEL_FILES)
        lines.append("| `%s` | %d, %d, %d | %s, %s | %s, %s | %s | %.1e | %.1f | %d | %d, %d | %s | %s / %s | %s |" % (
            name, data["rows"], data["header_lines"], data["bad_rows"],
            number(e["offset_a"]), number(e["offset_b"]), number(e["amplitude_a"]),
            number(e["amplitude_b"]), number(e["phase_rad"]), deviation[0], deviation[1],
            data["outliers"],
            data["clipped_a"], data["clipped_b"], number(data["fit_residual_percent"], 2),
            number(measured, 4) if measured is not None else "-", number(simulated, 4),
            "; ".join(data["warnings"]) or "none"))
    lines += [
        "",
        "- Noise shows as a fit residual of about one noise standard deviation over",
        "  the amplitude and in the figures' uncertainties (\"in u\": the largest",
        "  deviation in standard uncertainties; up to about 2 is what noise does).",
        "  It does not widen the measured error, which is taken at each sample's",
        "  angle on the fitted curve.",
        "- On 0.3 of a period the fit is uncertain and says so; the figures still",
        "  lie within their expanded uncertainty of the truth.",
        "- `chip-example.csv` is compared by the model's channels, the fitted",
        "  ellipse less what the harmonics moved it by: its second harmonic puts",
        "  the ellipse's centre 0.0095 off the channels' mean. Its time column and",
        "  steady speed let the report find all four harmonics 2 to 5 (see the",
        "  main README).",
        "- A third-harmonic distortion is no ellipse error: the fit finds ideal",
        "  signals, and the distortion shows in the fit residual and in the",
        "  Lissajous figure's rounded square, not in the measured error, which is",
        "  taken against the corrected angle of the same distorted pair. The",
        "  model carries the harmonic found, so its simulation shows the error",
        "  the harmonic makes, which only a reference position or a correction",
        "  table sees.",
        "- The reference level: an interpolator subtracts its electrical zero",
        "  before the arctangent, and so does `--zero`. Without it the signals on a",
        "  2.5 V reference, or the ADC counts around 2048, never turn round the",
        "  zero: the report says so, withholds the measured error and exits with 1.",
        "- The glitches are left out of the fit and of the measured error and",
        "  named by line; the clipped tops are left out of the fit but stay in the",
        "  measured error, which is what the interpolator sees.",
        "- The overrange markers are bad rows, skipped and counted with",
        "  `--skip-bad-rows`; without it the report names the first one's line. So",
        "  are the `---` markers, even in the third row, before the data's shape is",
        "  settled.",
        "- Only the chosen columns must be numbers: timestamps, units after the",
        "  values, a logger's other columns and quoted decimal commas are read as",
        "  they are. With four columns or more the report asks which two hold the",
        "  channels (by number or by header name).",
        "",
        "## A walk through `clean.csv`",
        "",
        "From this folder:",
        "",
        "```sh",
        "../build/report/vantrel-report --capture clean.csv --pitch 0.040 --resolution 0.0010 \\",
        "    --plot clean-error.png --scope clean-xy.png --size 600x450",
        "```",
        "",
        "```",
    ] + walk.stdout.rstrip("\n").split("\n") + [
        "```",
        "",
        "The fit gives back what went in, to the generator's 12 significant",
        "digits. Divided by the larger |offset| + amplitude the model's channels",
        "just fill -1 ... +1; the printed command line simulates them. The",
        "measured interpolation error and the simulation's agree in peak-to-peak,",
        "largest magnitude and every harmonic to the printed digits; only the",
        "means differ a little, since the capture's samples are not evenly spaced",
        "in angle while the simulation's 4096 angles are.",
        "",
        "The Lissajous figure: the samples as light crosses, the fitted ellipse in",
        "red over them.",
        "",
        "![Lissajous figure of clean.csv with the fitted ellipse](clean-xy.png)",
        "",
        "The measured error over one pitch of 0.040 mm, every sample of the three",
        "periods:",
        "",
        "![Measured interpolation error of clean.csv](clean-error.png)",
        "",
    ]
    with open(os.path.join(EXAMPLES, "README.md"), "w") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
