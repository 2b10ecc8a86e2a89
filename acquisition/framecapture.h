#ifndef FRAMECAPTURE_H
#define FRAMECAPTURE_H

#include <cstdint>

#include "capture.h"
#include "frame.h"

// The file line of a frame's first sample in the CSV --save writes: the
// source, the instrument and the columns' names come first.
const std::uint32_t FrameFirstLine = 4;

// A frame as the capture its samples make, fitted like a file: channels
// in columns 2 and 3 and, with a time step, its times in column 1, as
// --save writes them.
TCapture FrameCapture(TFrame &&Frame);

#endif
