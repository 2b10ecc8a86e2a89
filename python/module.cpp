// The Python module `vantrel`: the report's capture reading, fit, figures
// and JSON, and its simulation, on numpy arrays. Options go through the
// report's own parser, and dicts come from the very JSON text the report
// writes, so both say the same to the last bit.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "captureoptions.h"
#include "capturereader.h"
#include "capturerun.h"
#include "capturetext.h"
#include "embeddedrun.h"
#include "encoderinterpolator.h"
#include "pyarguments.h"
#include "pyarrays.h"
#include "setupjson.h"
#include "signalchain.h"

namespace py = pybind11;

namespace {

// A capture read from a file, its reference subtracted.
struct TPyCapture
{
  TCapture Capture;
  QString Name;
  std::vector<std::string> Warnings;
};

[[noreturn]] void Refuse(const QString &Message)
{
  throw py::value_error(Message.toStdString());
}

// The report's JSON text as Python's objects.
py::object Loads(const TEmbeddedRun &Run)
{
  if (Run.Json.isEmpty())
    Refuse(Run.Problem);
  return py::module_::import("json").attr("loads")(
      py::bytes(Run.Json.constData(), Run.Json.size()));
}

// A view of one of the capture's vectors that keeps the capture alive.
py::object Channel(py::object Owner, const std::vector<double> &Values)
{
  py::array_t<double> array(static_cast<py::ssize_t>(Values.size()), Values.data(), Owner);
  array.attr("setflags")(py::arg("write") = false);
  return std::move(array);
}

TReportConfig Options(QStringList Arguments, TReportMode Mode)
{
  TReportConfig config;
  const QString problem = ReadEmbeddedOptions(Arguments, Mode, config);
  if (!problem.isEmpty())
    Refuse(problem);
  return config;
}

std::shared_ptr<TPyCapture> PyReadCapture(const std::string &Path, py::object Columns,
                                          py::object Zero, py::object DecimalComma,
                                          bool SkipBadRows, py::object TimeColumn)
{
  py::dict keywords;
  keywords["columns"] = Columns;
  keywords["zero"] = Zero;
  keywords["decimal_comma"] = DecimalComma;
  keywords["skip_bad_rows"] = SkipBadRows;
  keywords["time_column"] = TimeColumn;
  TCaptureOptions options;
  const QString problem = ParseCaptureOptions(OptionArguments(keywords), options);
  if (!problem.isEmpty())
    Refuse(problem);
  auto capture = std::make_shared<TPyCapture>();
  capture->Name = CaptureName(QString::fromStdString(Path));
  std::string message;
  bool read;
  {
    py::gil_scoped_release release;
    read = ReadCaptureFile(Path, options.Read, capture->Capture, message);
  }
  if (!read) {
    // A file that cannot be opened is the system's failure, not the data's.
    std::FILE *file = std::fopen(Path.c_str(), "rb");
    if (!file) {
      PyErr_SetObject(PyExc_OSError, py::make_tuple(errno, message, Path).ptr());
      throw py::error_already_set();
    }
    std::fclose(file);
    throw py::value_error(message);
  }
  SubtractReference(capture->Capture, options.Zero[0], options.Zero[1]);
  if (capture->Capture.LastLineCut) {
    TCaptureWarning warning;
    warning.Kind = TCaptureWarning::LastLineCut;
    capture->Warnings.push_back(CaptureWarningText(warning).toStdString());
  }
  return capture;
}

py::object PyAnalyseCapture(py::object A, py::object B, py::object Name, py::object Time,
                            py::kwargs Keywords)
{
  TCaptureView view;
  QString name = "samples";
  // The arrays stay referenced here while the analysis reads them.
  TSampleArray a, b, time;
  if (py::isinstance<TPyCapture>(A)) {
    if (!B.is_none() || !Time.is_none())
      Refuse("a Capture carries its own channels and times");
    const TPyCapture &capture = A.cast<const TPyCapture &>();
    view = capture.Capture;
    name = capture.Name;
  } else {
    if (B.is_none())
      Refuse("channel B is missing");
    a = SampleArray(A, "a");
    b = SampleArray(B, "b");
    if (a.size() != b.size())
      Refuse(QString("a has %1 samples, b %2").arg(a.size()).arg(b.size()));
    view.A = Span(a);
    view.B = Span(b);
    if (!Time.is_none()) {
      time = SampleArray(Time, "time");
      if (time.size() != a.size())
        Refuse(QString("time has %1 samples, a %2").arg(time.size()).arg(a.size()));
      view.Time = Span(time);
      view.TimeColumn = 1;
    }
  }
  if (!Name.is_none())
    name = QString::fromStdString(Name.cast<std::string>());
  const TReportConfig config =
      Options(QStringList{"--capture", name} + OptionArguments(Keywords), TReportMode::Capture);
  if (!(config.Capture.Options == TCaptureOptions()))
    Refuse("columns, zero, time_column, decimal_comma and skip_bad_rows go to read_capture");
  TEmbeddedRun run;
  {
    py::gil_scoped_release release;
    run = RunEmbeddedCapture(config, view, name);
  }
  return Loads(run);
}

py::object Simulate(py::kwargs Keywords)
{
  const TReportConfig config = Options(OptionArguments(Keywords), TReportMode::Evaluation);
  TEmbeddedRun run;
  {
    py::gil_scoped_release release;
    run = RunEmbeddedEvaluation(config);
  }
  return Loads(run);
}

// out=: none, or a pair of arrays to fill.
void OutPair(const py::object &Out, py::object &First, py::object &Second)
{
  First = Second = py::none();
  if (Out.is_none())
    return;
  const py::tuple pair = Out.cast<py::tuple>();
  if (pair.size() != 2)
    Refuse("out: a pair of arrays expected");
  First = pair[0];
  Second = pair[1];
}

void SameSize(const TSampleArray &A, const TSampleArray &B)
{
  if (A.size() != B.size())
    Refuse(QString("a has %1 samples, b %2").arg(A.size()).arg(B.size()));
}

py::tuple Channels(py::object Angles, py::object Out, py::kwargs Keywords)
{
  const TSampleArray angles = SampleArray(Angles, "angles");
  const TReportConfig config = Options(OptionArguments(Keywords), TReportMode::Evaluation);
  const std::size_t n = angles.size();
  py::object out_a, out_b;
  OutPair(Out, out_a, out_b);
  py::array_t<double> a = OutArray(out_a, n, "out[0]"), b = OutArray(out_b, n, "out[1]");
  double *values[2] = {a.mutable_data(), b.mutable_data()};
  {
    py::gil_scoped_release release;
    for (int c = 0; c < 2; ++c) {
      // The scope's streams: the same noise as --scope draws.
      TSignalChannel channel(config.Setup, c, c == 0 ? GridStreamA : GridStreamB);
      for (std::size_t i = 0; i < n; ++i)
        values[c][i] = channel.Value(angles.data()[i]);
    }
  }
  return py::make_tuple(a, b);
}

py::array_t<double> PyAngle(py::object A, py::object B, py::object Out)
{
  const TSampleArray a = SampleArray(A, "a"), b = SampleArray(B, "b");
  SameSize(a, b);
  py::array_t<double> angles = OutArray(Out, a.size(), "out");
  double *values = angles.mutable_data();
  {
    py::gil_scoped_release release;
    for (py::ssize_t i = 0; i < a.size(); ++i)
      values[i] = TEncoderInterpolator::Angle(a.data()[i], b.data()[i]);
  }
  return angles;
}

py::tuple Correct(py::object A, py::object B, py::dict Correction, py::object Out)
{
  const TSampleArray a = SampleArray(A, "a"), b = SampleArray(B, "b");
  SameSize(a, b);
  // analyse_capture's dict holds the ellipse under "ellipse"; the
  // ellipse's own dict works too.
  py::object figures = Correction.contains("ellipse") ? Correction["ellipse"] : Correction;
  const std::string text = py::module_::import("json").attr("dumps")(figures).cast<std::string>();
  TEllipse ellipse;
  if (!EllipseFromObject(QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(),
                         ellipse))
    Refuse(
        "correction: offset_a, offset_b, amplitude_a > 0, amplitude_b > 0 and phase_rad "
        "expected");
  py::object out_sine, out_cosine;
  OutPair(Out, out_sine, out_cosine);
  const std::size_t n = a.size();
  py::array_t<double> sine = OutArray(out_sine, n, "out[0]"),
                      cosine = OutArray(out_cosine, n, "out[1]");
  double *s = sine.mutable_data(), *c = cosine.mutable_data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i)
      ellipse.Corrected(a.data()[i], b.data()[i], s[i], c[i]);
  }
  return py::make_tuple(sine, cosine);
}

}  // namespace

PYBIND11_MODULE(vantrel, m)
{
  m.doc() =
      "Analog sine/cosine encoder signals: read and fit oscilloscope captures, simulate "
      "encoders, and what an arctangent interpolator makes of them. The figures are "
      "vantrel-report's own, to the last bit.";

  py::class_<TPyCapture, std::shared_ptr<TPyCapture>>(m, "Capture",
                                                      "A capture read by read_capture.")
      .def_property_readonly(
          "a", [](py::object self) { return Channel(self, self.cast<TPyCapture &>().Capture.A); },
          "Channel A (SIN) in the capture's units, its zero subtracted (read-only view).")
      .def_property_readonly(
          "b", [](py::object self) { return Channel(self, self.cast<TPyCapture &>().Capture.B); },
          "Channel B (COS) in the capture's units, its zero subtracted (read-only view).")
      .def_property_readonly(
          "time",
          [](py::object self) -> py::object {
            const TCapture &capture = self.cast<TPyCapture &>().Capture;
            if (capture.Time.empty())
              return py::none();
            return Channel(self, capture.Time);
          },
          "Each sample's time in seconds, or None without a time column.")
      .def_property_readonly(
          "name", [](const TPyCapture &c) { return c.Name.toStdString(); },
          "The capture's name in the report: its path, or 'standard input'.")
      .def_property_readonly(
          "header_lines", [](const TPyCapture &c) { return c.Capture.HeaderLines; },
          "Lines skipped before the data.")
      .def_property_readonly(
          "bad_rows", [](const TPyCapture &c) { return c.Capture.BadRows; },
          "Rows skipped as unreadable (skip_bad_rows=True).")
      .def_property_readonly(
          "warnings", [](const TPyCapture &c) { return c.Warnings; },
          "What reading found that deserves attention, in the report's words.")
      .def("__len__", [](const TPyCapture &c) { return c.Capture.Size(); })
      .def("__repr__", [](const TPyCapture &c) {
        return QString("<vantrel.Capture %1, %2 rows>")
            .arg(c.Name)
            .arg(c.Capture.Size())
            .toStdString();
      });

  m.def("read_capture", &PyReadCapture, py::arg("path"), py::arg("columns") = py::none(),
        py::arg("zero") = py::none(), py::arg("decimal_comma") = py::none(),
        py::arg("skip_bad_rows") = false, py::arg("time_column") = py::none(),
        R"(Reads a text capture as vantrel-report --capture does.

columns: "A,B" by number (1-based) or header name, or a tuple (2, 3).
zero: the reference level subtracted from both channels (capture units),
    or a pair (zero_a, zero_b).
decimal_comma: True when the comma separates decimals, never columns.
skip_bad_rows: leave unreadable rows out instead of refusing the file.
time_column: the column of the times in seconds, by number or name.
Raises OSError when the file cannot be opened, ValueError (the
program's message) for anything the file or the options get wrong.)");

  m.def("analyse_capture", &PyAnalyseCapture, py::arg("a"), py::arg("b") = py::none(),
        py::kw_only(), py::arg("name") = py::none(), py::arg("time") = py::none(),
        R"(Fits and measures a channel pair as vantrel-report --capture does.

a, b: channels A (SIN) and B (COS) in any one unit, zero subtracted; or a
    Capture from read_capture as a, b left out.
name: the capture's name in the dict (default: the Capture's, or "samples").
time: each sample's time in seconds, for the signal's frequency.
Further keywords are the report's options, underscores for dashes:
pitch (mm), resolution (mm), amplitude (capture units), limits, ...
Returns what --format json writes, as a dict; the analysis runs without
the GIL. Raises ValueError with the program's message.)");

  m.def("simulate", &Simulate,
        R"(The report's JSON for a simulated setup, as a dict.

Keywords are the report's options, underscores for dashes: pitch and
resolution (mm), gain_a, offset_a, phase_a (rad), ..., harmonic3, noise,
harmonic=[(H, K, PHI), ...], limits, ... Raises ValueError with the
program's message.)");

  m.def("channels", &Channels, py::arg("angles"), py::kw_only(), py::arg("out") = py::none(),
        R"(Channels A (SIN) and B (COS) of a setup at each angle (rad).

Keywords are the setup's options as in simulate(). The values are the
report's channels: waveform, gain, offset, noise, limit and ADC. out: a
pair of float64 arrays to fill in place. Returns (a, b).)");

  m.def("angle", &PyAngle, py::arg("a"), py::arg("b"), py::kw_only(), py::arg("out") = py::none(),
        R"(The interpolator's angle of each pair (a = sine, b = cosine) in rad, 0 ... 2 pi.

out: a float64 array to fill in place.)");

  m.def("correct", &Correct, py::arg("a"), py::arg("b"), py::arg("correction"), py::kw_only(),
        py::arg("out") = py::none(),
        R"(Each pair moved onto the unit circle by the calibration (Heydemann).

correction: analyse_capture's dict, or its "ellipse" (offset_a, offset_b,
amplitude_a, amplitude_b in the channels' units, phase_rad). out: a pair
of float64 arrays to fill in place. Returns (sine, cosine).)");

  m.def(
      "_sample_address",
      [](py::object Object) {
        return reinterpret_cast<std::uintptr_t>(SampleArray(Object, "array").data());
      },
      "Where the C++ code reads Object's samples (for the tests).");
}
