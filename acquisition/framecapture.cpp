#include "framecapture.h"

TCapture FrameCapture(const TFrame &Frame)
{
  TCapture capture;
  capture.A = Frame.A;
  capture.B = Frame.B;
  capture.Line.resize(Frame.Size());
  for (std::size_t i = 0; i < Frame.Size(); ++i)
    capture.Line[i] = FrameFirstLine + static_cast<std::uint32_t>(i);
  capture.Columns = {2, 3, {}, {}};
  capture.ColumnCount = 3;
  if (Frame.TimeStep > 0.0) {
    capture.Time.resize(Frame.Size());
    for (std::size_t i = 0; i < Frame.Size(); ++i)
      capture.Time[i] = Frame.TimeOrigin + static_cast<double>(i) * Frame.TimeStep;
    capture.TimeColumn = 1;
  }
  return capture;
}
