#include "studyrun.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {

// Trials a thread takes at a time: few enough to share the work evenly,
// many enough that taking them costs nothing.
const long BlockSize = 64;

using TBlock = std::array<TTrialFigures, BlockSize>;

}  // namespace

TStudyRun RunStudy(const TStudySetup &Study, const TShard &Shard, int Threads,
                   const std::atomic<bool> &Stop, const TProgress &Progress)
{
  const long total = Shard.Size(Study.Trials);
  const long blocks = (total + BlockSize - 1) / BlockSize;
  TStudyRun run;
  std::atomic<long> next_block{0};
  std::mutex mutex;
  std::condition_variable finished;
  int running = Threads;
  // Guarded by the mutex: blocks finished ahead of the first one still
  // running wait here, so the figures are appended in trial order and
  // only ever hold an unbroken run of trials from the first one. A
  // stopped run therefore reports the same trials whatever the threads
  // were doing, and its memory follows the trials done.
  std::map<long, TBlock> waiting;
  long appended_blocks = 0;
  long done = 0;

  const TTrialEvaluator evaluator;
  const auto work = [&]() {
    for (long b = next_block++; b < blocks && !Stop; b = next_block++) {
      const long first = b * BlockSize, size = std::min(total - first, BlockSize);
      TBlock block;
      long j = 0;
      for (; j < size && !Stop; ++j) {
        const TTrialDraw draw = DrawTrial(Study, Shard.TrialIndex(first + j));
        block[j] = evaluator.Evaluate(draw.Setup);
        block[j].Clamped = static_cast<std::uint8_t>(draw.Clamped);
      }
      if (j < size)
        break;
      std::lock_guard<std::mutex> lock(mutex);
      waiting.emplace(b, block);
      for (auto next = waiting.begin(); next != waiting.end() && next->first == appended_blocks;
           next = waiting.erase(next)) {
        const long count = std::min(total - appended_blocks * BlockSize, BlockSize);
        for (long k = 0; k < count; ++k)
          run.Figures.push_back(next->second[k]);
        ++appended_blocks;
        done += count;
      }
    }
    std::lock_guard<std::mutex> lock(mutex);
    --running;
    finished.notify_one();
  };

  std::vector<std::thread> threads;
  threads.reserve(Threads);
  for (int t = 0; t < Threads; ++t)
    threads.emplace_back(work);
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return running == 0; }))
      if (Progress) {
        const long reported = done;
        lock.unlock();
        Progress(reported, total);
        lock.lock();
      }
  }
  for (std::thread &thread : threads)
    thread.join();

  run.Partial = appended_blocks < blocks;
  return run;
}
