// vantrel-report --capture's pieces on a one-million-row, three-column
// capture held in memory, against counting its lines as baseline: the
// least any reader of the text must do.
#include <benchmark/benchmark.h>
#include <QByteArray>
#include <cmath>
#include <cstring>
#include <sstream>

#include "captureanalysis.h"
#include "capturereader.h"
#include "ellipsefit.h"

namespace {

const int Rows = 1000000;

const QByteArray &CaptureText()
{
  static const QByteArray text = [] {
    QByteArray t = "Time,CH1,CH2\n";
    for (int i = 0; i < Rows; ++i) {
      const double angle = 3.0 * 6.283185307179586 * i / Rows;
      t += QByteArray::number(i * 1e-6, 'g', 8) + ',' +
           QByteArray::number(2.52 + 0.5 * std::sin(angle + 0.05), 'g', 12) + ',' +
           QByteArray::number(2.49 + 0.48 * std::cos(angle), 'g', 12) + '\n';
    }
    return t;
  }();
  return text;
}

TCapture Read()
{
  // Copied into the stream once; each read starts it over.
  static std::istringstream stream(CaptureText().toStdString());
  stream.clear();
  stream.seekg(0);
  TCapture capture;
  std::string message;
  ReadCapture(stream, "bench", TCaptureReadOptions(), capture, message);
  return capture;
}

void BM_CaptureBaseline_CountLines_1M(benchmark::State &state)
{
  const QByteArray &text = CaptureText();
  for (auto _ : state) {
    long lines = 0;
    const char *p = text.constData(), *end = p + text.size();
    while ((p = static_cast<const char *>(std::memchr(p, '\n', end - p)))) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_CaptureBaseline_CountLines_1M)->Unit(benchmark::kMillisecond);

void BM_CaptureRead_1M(benchmark::State &state)
{
  CaptureText();
  for (auto _ : state)
    benchmark::DoNotOptimize(Read().Size());
}
BENCHMARK(BM_CaptureRead_1M)->Unit(benchmark::kMillisecond);

void BM_CaptureFitEllipse_1M(benchmark::State &state)
{
  const TCapture capture = Read();
  for (auto _ : state) {
    TEllipse ellipse;
    benchmark::DoNotOptimize(FitEllipse(capture.A, capture.B, ellipse));
  }
}
BENCHMARK(BM_CaptureFitEllipse_1M)->Unit(benchmark::kMillisecond);

// The fit, the corrected angles, the measured error and its harmonics.
void BM_CaptureAnalyse_1M(benchmark::State &state)
{
  const TCapture capture = Read();
  for (auto _ : state) {
    TCaptureAnalysis analysis;
    benchmark::DoNotOptimize(AnalyseCapture(capture, TEncoderSetup(), 0.0, analysis).Kind);
  }
}
BENCHMARK(BM_CaptureAnalyse_1M)->Unit(benchmark::kMillisecond);

}  // namespace
