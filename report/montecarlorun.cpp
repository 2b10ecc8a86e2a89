#include "montecarlorun.h"

#include <unistd.h>
#include <QElapsedTimer>
#include <QIODevice>
#include <atomic>
#include <csignal>
#include <memory>

#include "graphwidget.h"
#include "outputfile.h"
#include "plotfile.h"
#include "reportoptions.h"
#include "reportrun.h"
#include "studymerge.h"
#include "studyplot.h"
#include "studytext.h"

namespace {

const int InterruptedStatus = 130;  // 128 + SIGINT, as shells report it

std::atomic<bool> Interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnInterrupt(int)
{
  Interrupted = true;
}

// Ctrl-C stops the study instead of the process while this lives.
class TInterruptHandler
{
public:
  TInterruptHandler()
  {
    Interrupted = false;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &d_previous);
  }
  ~TInterruptHandler() { sigaction(SIGINT, &d_previous, nullptr); }
  TInterruptHandler(const TInterruptHandler &) = delete;
  TInterruptHandler &operator=(const TInterruptHandler &) = delete;

private:
  struct sigaction d_previous;
};

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

void WriteOutput(QIODevice &Device, TReportFormat Format, const TStudyResult &Result)
{
  if (Format == TReportFormat::Csv)
    WriteStudyCsv(Device, Result);
  else if (Format == TReportFormat::Json)
    Device.write(StudyJson(Result));
  else
    Device.write(StudySummaryText(Result));
}

int Finish(const TReportOptions &Options, const TStudyResult &Result, QIODevice &Out,
           QIODevice &Err)
{
  std::unique_ptr<TOutputFile> output, plot;
  for (const auto &[path, file] :
       {std::make_pair(Options.OutputPath, &output), std::make_pair(Options.PlotPath, &plot)}) {
    if (path.isEmpty())
      continue;
    *file = std::make_unique<TOutputFile>(path);
    const QString message = (*file)->Open();
    if (!message.isEmpty()) {
      WriteReportMessage(Err, message);
      return 2;
    }
  }
  if (plot) {
    TGraphWidget graph;
    TPlotFormat format = TPlotFormat::Png;
    PlotFormatForPath(Options.PlotPath, format);
    ShowHistogram(graph, Result.Figures);
    if (!WritePlot(graph, format, Options.PlotSize, plot->Device())) {
      WriteReportMessage(Err, QString("cannot draw %1").arg(Options.PlotPath));
      return 2;
    }
  }
  if (output)
    WriteOutput(output->Device(), Options.Format, Result);
  // Uncommitted files are discarded, leaving their targets as they were.
  for (TOutputFile *file : {output.get(), plot.get()}) {
    const QString message = file ? file->Commit() : QString();
    if (!message.isEmpty()) {
      WriteReportMessage(Err, message);
      return 2;
    }
  }
  if (!output)
    WriteOutput(Out, Options.Format, Result);

  const TStudyStatistics &s = Result.Statistics;
  if (Result.Partial) {
    WriteReportMessage(Err, QString("interrupted after %1 of %2 trials")
                                .arg(s.Trials)
                                .arg(Result.Shard.Size(Result.Study.Trials)));
    return InterruptedStatus;
  }
  if (s.CountErrors > 0 || s.OverLimit > 0) {
    WriteReportMessage(Err, QString("%1 of %2 trials lost counts, %3 exceeded the limit")
                                .arg(s.CountErrors)
                                .arg(s.Trials)
                                .arg(s.OverLimit));
    return 1;
  }
  return 0;
}

}  // namespace

int RunMonteCarlo(const TReportOptions &Options, QIODevice &Out, QIODevice &Err)
{
  const TMonteCarloOptions &mc = Options.MonteCarlo;
  TStudyResult result;
  if (mc.Merge) {
    const QString message = MergeShards(mc.MergeFiles, result);
    if (!message.isEmpty()) {
      WriteReportMessage(Err, message);
      return 2;
    }
    return Finish(Options, result, Out, Err);
  }
  result.Study = mc.Study;
  result.Shard = mc.Shard;
  result.Sharded = mc.Sharded;
  {
    const TInterruptHandler handler;
    TProgressBar bar(Err, !mc.Quiet && isatty(STDERR_FILENO));
    TStudyRun run = RunStudy(result.Study, result.Shard, mc.Threads, Interrupted,
                             [&](long Done, long Total) { bar.Show(Done, Total); });
    result.Figures = std::move(run.Figures);
    result.Partial = run.Partial;
  }
  ComputeResultStatistics(result);
  return Finish(Options, result, Out, Err);
}
