#ifndef INTERRUPTHANDLER_H
#define INTERRUPTHANDLER_H

#include <atomic>
#include <csignal>

// Set by Ctrl-C while a TInterruptHandler lives.
extern std::atomic<bool> Interrupted;

// 128 + SIGINT, as shells report a run stopped by Ctrl-C.
const int InterruptedStatus = 130;

// Ctrl-C stops the work in hand instead of the process while this lives:
// a study after its running trials, an acquisition after its frame.
class TInterruptHandler
{
public:
  TInterruptHandler();
  ~TInterruptHandler();
  TInterruptHandler(const TInterruptHandler &) = delete;
  TInterruptHandler &operator=(const TInterruptHandler &) = delete;

private:
  struct sigaction d_previous;
};

#endif
