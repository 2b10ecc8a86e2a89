#!/usr/bin/python3
"""analyse_capture on ten million samples in memory against the C++
analysis alone, both in this one run, and the memory the call takes.

    PYTHONPATH=build/python /usr/bin/python3 scripts/python_speed.py build/bench/vantrel_bench

The benchmark's BM_CaptureAnalysis_10M is AnalyseCapture alone,
BM_CaptureJson_10M the report's flow with its JSON; analyse_capture adds
the options, the arrays' hand-over and json.loads. The samples are the
benchmark's: 1000 periods of a pair with offsets and a phase error.
"""
import json
import resource
import subprocess
import sys
import time
import tracemalloc

import numpy as np

import vantrel

SAMPLES = 10_000_000
PERIODS = 1000.0
REPEATS = 5


def cpp_times(bench):
    done = subprocess.run([bench, "--benchmark_filter=Capture(Analysis|Json)_10M",
                           f"--benchmark_repetitions={REPEATS}", "--benchmark_format=json"],
                          capture_output=True, check=True, text=True)
    times = {}
    for run in json.loads(done.stdout)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            times[run["run_name"]] = run["real_time"] / 1000.0
    return times


def main():
    x = 2.0 * np.pi * PERIODS * np.arange(SAMPLES) / SAMPLES
    a = 0.02 + 0.9 * np.sin(x + 0.05)
    b = -0.01 + np.cos(x)
    del x
    cpp = cpp_times(sys.argv[1])

    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    tracemalloc.start()
    vantrel.analyse_capture(a, b)
    _, traced = tracemalloc.get_traced_memory()
    tracemalloc.stop()
    grown = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before
    seconds = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        vantrel.analyse_capture(a, b)
        seconds.append(time.perf_counter() - start)
    python = sorted(seconds)[REPEATS // 2]

    analysis, flow = cpp["BM_CaptureAnalysis_10M"], cpp["BM_CaptureJson_10M"]
    print(f"C++ AnalyseCapture alone      {analysis:8.3f} s (median of {REPEATS})")
    print(f"C++ report flow with JSON     {flow:8.3f} s")
    print(f"Python analyse_capture        {python:8.3f} s")
    print(f"ratio to the analysis alone   {python / analysis:8.3f}")
    print(f"ratio to the report flow      {python / flow:8.3f}")
    print(f"one channel                   {a.nbytes / 1e6:8.1f} MB")
    print(f"traced by Python (peak)       {traced / 1e6:8.3f} MB")
    print(f"peak RSS grown by the call    {grown / 1e3:8.1f} MB")


if __name__ == "__main__":
    main()
