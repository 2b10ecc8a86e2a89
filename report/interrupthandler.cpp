#include "interrupthandler.h"

std::atomic<bool> Interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

namespace {

extern "C" void OnInterrupt(int)
{
  Interrupted = true;
}

}  // namespace

TInterruptHandler::TInterruptHandler()
{
  Interrupted = false;
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &d_previous);
}

TInterruptHandler::~TInterruptHandler()
{
  sigaction(SIGINT, &d_previous, nullptr);
}
