#ifndef FRAMESOURCE_H
#define FRAMESOURCE_H

#include <memory>
#include <string>
#include <vector>

#include "frame.h"

// Where frames come from: an oscilloscope, a sound card, a file. Every
// failure is a value: false and a one-line Problem that names the source.
// Nothing half-read is ever handed out as a frame.
class TFrameSource
{
public:
  virtual ~TFrameSource() = default;

  // Connects, and asks the instrument who it is.
  virtual bool Open(std::string &Problem) = 0;
  // The next frame; blocks at most the source's timeout.
  virtual bool Next(TFrame &Frame, std::string &Problem) = 0;
  // The instrument's own answer to who it is, or what the source is.
  virtual std::string Identity() const = 0;
  // What the user must be told once, such as a sound card blocking DC.
  virtual std::vector<std::string> Notes() const { return {}; }
  // False where the signals' DC level is lost on the way (AC coupling).
  virtual bool MeasuresOffsets() const { return true; }
};

// The source an address names:
//   scpi://HOST[:PORT][?dialect=wav|curve&channels=1,2&timeout=5]
//   alsa:DEVICE[?rate=48000&frame=4800&timeout=5]
//   file:PATH[?frame=N&rate=HZ&skip-bad-rows=1&decimal-comma=1]
// Null with a Problem for an address that names none.
std::unique_ptr<TFrameSource> MakeFrameSource(const std::string &Address, std::string &Problem);

#endif
