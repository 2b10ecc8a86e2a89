"""read_capture and analyse_capture against the program's own JSON."""
import tracemalloc

import numpy as np
import pytest

import vantrel
from conftest import EXAMPLES, problem

# The options examples/README.md reads them with.
READ_OPTIONS = {
    "scope-export.csv": {"zero": 2.5},
    "adc12-counts.csv": {"zero": 2048},
    "overrange.csv": {"skip_bad_rows": True},
    "missing.csv": {"skip_bad_rows": True},
    "logger-columns.csv": {"columns": "SIN,COS"},
}


def arguments(options):
    """The same keywords as the command line writes them."""
    out = []
    for key, value in options.items():
        out.append("--" + key.replace("_", "-"))
        if value is not True:
            out.append(str(value))
    return out


@pytest.mark.parametrize("path", sorted(EXAMPLES.glob("*.csv")), ids=lambda p: p.name)
@pytest.mark.parametrize("analysis", [{}, {"pitch": 0.04, "resolution": 0.001, "limits": "1vpp"}],
                         ids=["defaults", "pitch-limits"])
def test_every_example_gives_the_programs_json_to_the_last_bit(report, path, analysis):
    read = READ_OPTIONS.get(path.name, {})
    status, expected, err = report.json("--capture", str(path), *arguments(read),
                                        *arguments(analysis))
    capture = vantrel.read_capture(str(path), **read)
    if expected is None:
        with pytest.raises(ValueError) as refused:
            vantrel.analyse_capture(capture, **analysis)
        assert str(refused.value) == problem(err)
        return
    got = vantrel.analyse_capture(capture, **analysis)
    # json.loads of both texts: equal floats are equal bits (NaN is null).
    assert got == expected
    assert capture.header_lines == expected["header_lines"]
    assert capture.bad_rows == expected["bad_rows"]
    assert len(capture) == expected["rows"]
    # The reading's warning is among the analysis's, in the same words.
    assert set(capture.warnings) <= set(expected["warnings"])
    assert (capture.time is None) == (expected["motion"]["time_column"] is None)


def test_arrays_give_the_figures_of_the_file(report):
    path = EXAMPLES / "scope-export.csv"
    _, expected, _ = report.json("--capture", str(path), "--zero", "2.5", "--pitch", "0.02")
    capture = vantrel.read_capture(str(path), zero=2.5)
    # Copies in another order of memory: converted once, same numbers.
    a = np.asfortranarray(capture.a.copy())
    got = vantrel.analyse_capture(a, list(capture.b), time=capture.time, name=str(path),
                                  pitch=0.02)
    # Only what the reader found differs: the arrays come from no file.
    for key in ("header_lines", "columns", "zero"):
        got.pop(key), expected.pop(key)
    got["motion"].pop("time_column"), expected["motion"].pop("time_column")
    assert got == expected


def test_zero_is_subtracted_as_the_program_does():
    capture = vantrel.read_capture(str(EXAMPLES / "adc12-counts.csv"), zero=(2048, 2040))
    raw = vantrel.read_capture(str(EXAMPLES / "adc12-counts.csv"))
    assert np.array_equal(capture.a, raw.a - 2048)
    assert np.array_equal(capture.b, raw.b - 2040)
    assert not capture.a.flags.writeable


def test_contiguous_float64_is_read_where_it_lies():
    a = np.sin(np.linspace(0, 20, 1000))
    assert vantrel._sample_address(a) == a.ctypes.data
    capture = vantrel.read_capture(str(EXAMPLES / "clean.csv"))
    assert vantrel._sample_address(capture.a) == capture.a.ctypes.data
    assert not capture.a.flags.owndata
    # Anything else is converted: another type, a stride, a list.
    for other in (a.astype(np.float32), a[::2], np.vstack([a, a])[:, 3]):
        assert vantrel._sample_address(other) != other.ctypes.data


def test_analysis_of_arrays_allocates_no_copy():
    n = 1_000_000
    x = np.linspace(0.0, 40.0 * np.pi, n)
    a, b = 0.9 * np.sin(x + 0.05) + 0.02, np.cos(x) - 0.01
    tracemalloc.start()
    vantrel.analyse_capture(a, b)
    _, peak = tracemalloc.get_traced_memory()
    tracemalloc.stop()
    # numpy reports its buffers to tracemalloc: a copy of one channel
    # would be 8 MB.
    assert peak < a.nbytes / 2


def test_a_distorted_pair_gives_its_ellipse_back():
    # Offsets, unequal gains and a phase error, 1.3 periods, noise-free.
    x = np.linspace(0.0, 1.3 * 2 * np.pi, 5000)
    oa, ob, ga, gb, phase = 0.11, -0.07, 0.83, 1.21, -0.12
    a = oa + ga * np.sin(x + phase)
    b = ob + gb * np.cos(x)
    result = vantrel.analyse_capture(a, b)
    e = result["ellipse"]
    for key, value in (("offset_a", oa), ("offset_b", ob), ("amplitude_a", ga),
                       ("amplitude_b", gb), ("phase_rad", phase)):
        assert e[key] == pytest.approx(value, abs=1e-9), key
    assert result["rows"] == 5000
    assert result["periods"] == pytest.approx(1.3, abs=1e-6)


@pytest.mark.parametrize("keywords, command_line", [
    ({"pitch": -1}, ["--pitch", "-1"]),
    ({"resolution": 0.5}, ["--resolution", "0.5"]),
    ({"limits": "nonsense"}, ["--limits", "nonsense"]),
    ({"pitch": 0.04, "gain_a": 1.1}, ["--pitch", "0.04", "--gain-a", "1.1"]),
    ({"no_such_option": 1}, ["--no-such-option", "1"]),
])
def test_bad_options_raise_the_programs_message(report, keywords, command_line):
    path = str(EXAMPLES / "clean.csv")
    status, out, err = report.run("--capture", path, *command_line, "--format", "json")
    assert status == 2 and not out
    with pytest.raises(ValueError) as refused:
        vantrel.analyse_capture(vantrel.read_capture(path), **keywords)
    assert str(refused.value) == problem(err)


def test_unreadable_captures_raise_the_programs_message(report, tmp_path):
    short = tmp_path / "short.csv"
    short.write_text("".join(f"{np.sin(k)},{np.cos(k)}\n" for k in range(5)))
    for path, read, error in ((tmp_path / "absent.csv", {}, FileNotFoundError),
                              (EXAMPLES / "missing.csv", {}, ValueError),
                              (EXAMPLES / "clean.csv", {"columns": "4,5"}, ValueError)):
        status, out, err = report.run("--capture", str(path), *arguments(read))
        assert status == 2
        with pytest.raises(error) as refused:
            vantrel.read_capture(str(path), **read)
        assert problem(err) in str(refused.value)
    # Too few rows: the analysis refuses, named as the program names it.
    status, out, err = report.run("--capture", str(short))
    capture = vantrel.read_capture(str(short))
    with pytest.raises(ValueError) as refused:
        vantrel.analyse_capture(capture.a, capture.b, name=str(short))
    assert str(refused.value) == problem(err)
    with pytest.raises(ValueError, match="read_capture"):
        vantrel.analyse_capture(capture, zero=1.0)
    with pytest.raises(ValueError, match="write files"):
        vantrel.analyse_capture(capture, plot="x.png")
    with pytest.raises(ValueError, match="one dimension"):
        vantrel.analyse_capture(np.zeros((20, 2)), np.zeros((20, 2)))
