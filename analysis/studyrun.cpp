#include "studyrun.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Trials a thread takes at a time: few enough to share the work evenly,
// many enough that taking them costs nothing.
const long BlockSize = 64;

}  // namespace

TStudyRun RunStudy(const TStudySetup &Study, const TShard &Shard, int Threads,
                   const std::atomic<bool> &Stop, const TProgress &Progress)
{
  const long total = Shard.Size(Study.Trials);
  const long blocks = (total + BlockSize - 1) / BlockSize;
  TStudyRun run;
  run.Figures.resize(total);
  std::vector<char> block_done(blocks, 0);
  std::atomic<long> next_block{0}, done{0};
  std::mutex mutex;
  std::condition_variable finished;
  int running = Threads;

  const TTrialEvaluator evaluator;
  const auto work = [&]() {
    for (long b = next_block++; b < blocks && !Stop; b = next_block++) {
      const long end = std::min(total, (b + 1) * BlockSize);
      long j = b * BlockSize;
      for (; j < end && !Stop; ++j) {
        const TTrialDraw draw = DrawTrial(Study, Shard.TrialIndex(j));
        run.Figures[j] = evaluator.Evaluate(draw.Setup);
        run.Figures[j].Clamped = static_cast<std::uint8_t>(draw.Clamped);
      }
      if (j < end)
        break;
      block_done[b] = 1;
      done += end - b * BlockSize;
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
      if (Progress)
        Progress(done, total);
  }
  for (std::thread &thread : threads)
    thread.join();

  // Only an unbroken run of trials from the first one counts, so a
  // stopped run reports the same trials whatever the threads were doing.
  const long complete_blocks =
      std::find(block_done.begin(), block_done.end(), 0) - block_done.begin();
  if (complete_blocks < blocks) {
    run.Partial = true;
    run.Figures.resize(complete_blocks * BlockSize);
  }
  return run;
}
