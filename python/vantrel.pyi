"""Analog sine/cosine encoder signals: read and fit oscilloscope captures,
simulate encoders, and what an arctangent interpolator makes of them."""

from typing import Any, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

ArrayLike = npt.ArrayLike
Float64Array = npt.NDArray[np.float64]
OptionValue = Union[None, bool, int, float, str, Tuple[Any, ...], Sequence[Any]]

class Capture:
    """A capture read by read_capture."""

    @property
    def a(self) -> Float64Array:
        """Channel A (SIN) in the capture's units, its zero subtracted."""
    @property
    def b(self) -> Float64Array:
        """Channel B (COS) in the capture's units, its zero subtracted."""
    @property
    def time(self) -> Optional[Float64Array]:
        """Each sample's time in seconds, or None without a time column."""
    @property
    def name(self) -> str:
        """The capture's name in the report: its path, or 'standard input'."""
    @property
    def header_lines(self) -> int: ...
    @property
    def bad_rows(self) -> int: ...
    @property
    def warnings(self) -> list[str]: ...
    def __len__(self) -> int: ...

def read_capture(
    path: str,
    columns: Union[None, str, Tuple[Union[int, str], Union[int, str]]] = None,
    zero: Union[None, float, str, Tuple[float, float]] = None,
    decimal_comma: Optional[bool] = None,
    skip_bad_rows: bool = False,
    time_column: Union[None, int, str] = None,
) -> Capture:
    """Reads a text capture as vantrel-report --capture does. Raises
    OSError when the file cannot be opened, ValueError otherwise."""

def analyse_capture(
    a: Union[Capture, ArrayLike],
    b: Optional[ArrayLike] = None,
    *,
    name: Optional[str] = None,
    time: Optional[ArrayLike] = None,
    pitch: Optional[float] = None,
    resolution: Optional[float] = None,
    amplitude: Optional[float] = None,
    limits: Optional[str] = None,
    **options: OptionValue,
) -> dict[str, Any]:
    """What vantrel-report --capture FILE --format json writes, as a dict.
    pitch and resolution in mm, amplitude in the capture's units."""

def simulate(**setup: OptionValue) -> dict[str, Any]:
    """The report's JSON for a simulated setup (pitch, resolution in mm,
    gain_a, offset_a, phase_a in rad, ...), as a dict."""

def channels(
    angles: ArrayLike,
    *,
    out: Optional[Tuple[Float64Array, Float64Array]] = None,
    **setup: OptionValue,
) -> Tuple[Float64Array, Float64Array]:
    """Channels A (SIN) and B (COS) of a setup at each angle (rad)."""

def angle(a: ArrayLike, b: ArrayLike, *, out: Optional[Float64Array] = None) -> Float64Array:
    """The interpolator's angle of each (sine, cosine) pair in rad, 0 ... 2 pi."""

def correct(
    a: ArrayLike,
    b: ArrayLike,
    correction: dict[str, Any],
    *,
    out: Optional[Tuple[Float64Array, Float64Array]] = None,
) -> Tuple[Float64Array, Float64Array]:
    """Each pair moved onto the unit circle by the calibration: (sine, cosine)."""
