#ifndef FIXEDTEXTS_H
#define FIXEDTEXTS_H

#include <QString>

// Words that the window, the report's texts and messages and the plots
// all show.

// The counter's verdict when a pass forward and back leaves it off zero.
const char *const CountErrorMessage = "Scale count not zero on return";

// A channel, 0 for A, which carries the sine, or 1 for B, the cosine:
// "A (SIN)" ...
inline QString ChannelName(int Channel)
{
  return Channel == 0 ? "A (SIN)" : "B (COS)";
}
// ... and "Channel A (SIN)".
inline QString ChannelLabel(int Channel)
{
  return "Channel " + ChannelName(Channel);
}

#endif
