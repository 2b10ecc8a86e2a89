#include "framecapture.h"

#include <utility>

TCapture FrameCapture(TFrame &&Frame)
{
  TCapture capture;
  const std::size_t n = Frame.Size();
  capture.A = std::move(Frame.A);
  capture.B = std::move(Frame.B);
  capture.Line.resize(n);
  for (std::size_t i = 0; i < n; ++i)
    capture.Line[i] = FrameFirstLine + static_cast<std::uint32_t>(i);
  capture.Columns = {2, 3, {}, {}};
  capture.ColumnCount = 3;
  if (Frame.TimeStep > 0.0) {
    capture.Time.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      capture.Time[i] = Frame.TimeOrigin + static_cast<double>(i) * Frame.TimeStep;
    capture.TimeColumn = 1;
  }
  return capture;
}
