#ifndef SCOPETHREAD_H
#define SCOPETHREAD_H

#include <benchmark/benchmark.h>
#include <QSemaphore>
#include <QThread>
#include <memory>
#include <string>

#include "fakescope.h"
#include "framesource.h"

// The simulated oscilloscope on a free port, served from a thread with an
// event loop of its own, for as long as it is held. Making its codes is
// part of every read, as an instrument's own time would be.
class TScopeThread : public QThread
{
public:
  explicit TScopeThread(long Points) : d_points(Points)
  {
    start();
    d_ready.acquire();
  }
  ~TScopeThread() override
  {
    quit();
    wait();
  }

  // Its address.
  std::string Address() const { return "scpi://127.0.0.1:" + std::to_string(d_port); }

  // Null after telling State why, if the scope or the source failed.
  std::unique_ptr<TFrameSource> Open(benchmark::State &State) const
  {
    static std::string problem;
    std::unique_ptr<TFrameSource> source;
    if (d_port == 0)
      problem = "the simulated oscilloscope found no free port";
    else if ((source = MakeFrameSource(Address(), problem)) && source->Open(problem))
      return source;
    State.SkipWithError(problem.c_str());
    return nullptr;
  }

private:
  void run() override
  {
    TFakeScopeOptions options;
    options.Points = d_points;
    // No whole number of periods a frame: each starts at another phase, so
    // consecutive frames differ, as a real scale's do.
    options.Speed = 997.0;
    TFakeScope scope(options);
    if (scope.Listen(0))
      d_port = scope.Port();
    d_ready.release();
    exec();
  }

  const long d_points;
  QSemaphore d_ready;
  quint16 d_port = 0;
};

#endif
