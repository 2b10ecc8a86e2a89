// --monte-carlo: a tolerance study run here, with a progress bar on a
// terminal and Ctrl-C as a clean stop.
#include <unistd.h>
#include <QElapsedTimer>
#include <QIODevice>

#include "interrupthandler.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "runmodes.h"
#include "studyoutput.h"
#include "studytext.h"

namespace {

// A bar and the time left, redrawn in place on a terminal once the run has
// taken a second; cleared at the end.
class TProgressBar
{
public:
  TProgressBar(QIODevice &Err, bool Enabled) : d_err(Err), d_enabled(Enabled) { d_timer.start(); }
  ~TProgressBar()
  {
    if (d_shown)
      d_err.write("\r" + QByteArray(Width + 40, ' ') + "\r");
  }
  TProgressBar(const TProgressBar &) = delete;
  TProgressBar &operator=(const TProgressBar &) = delete;

  void Show(long Done, long Total)
  {
    const double elapsed = d_timer.elapsed() / 1000.0;
    if (!d_enabled || elapsed < 1.0 || Total <= 0)
      return;
    d_shown = true;
    const int filled = static_cast<int>(static_cast<double>(Width) * Done / Total);
    QByteArray line = "\r[" + QByteArray(filled, '#') + QByteArray(Width - filled, ' ') + "] ";
    line += QByteArray::number(100.0 * Done / Total, 'f', 1) + " %";
    if (Done > 0)
      line += ", " + QByteArray::number(elapsed * (Total - Done) / Done, 'f', 0) + " s left ";
    d_err.write(line);
  }

private:
  static const int Width = 40;
  QIODevice &d_err;
  bool d_enabled;
  bool d_shown = false;
  QElapsedTimer d_timer;
};

}  // namespace

int RunStudyMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  // An unwritable output fails here, not after hours of trials.
  TOutputTransaction output(Out);
  QIODevice *plot = nullptr;
  if (!OpenStudyOutputs(Config, output, plot))
    return Refuse(Err, output.Problem());
  const TStudyConfig &study = Config.Study;
  TStudyResult result;
  result.Study = study.Study;
  result.Shard = study.Shard;
  result.Sharded = study.Sharded;
  {
    const TInterruptHandler handler;
    TProgressBar bar(Err, !study.Quiet && isatty(STDERR_FILENO));
    TStudyRun run = RunStudy(result.Study, result.Shard, study.Threads, Interrupted,
                             [&](long Done, long Total) { bar.Show(Done, Total); });
    result.Figures = std::move(run.Figures);
    result.Partial = run.Partial;
  }
  ComputeResultStatistics(result);
  if (Config.Limits)
    result.Judgement = JudgeTrials(*Config.Limits, result.Study, result.Shard, result.Figures);
  return FinishStudy(Config, result, output, plot, Err);
}
