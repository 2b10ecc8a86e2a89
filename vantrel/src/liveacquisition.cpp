#include "liveacquisition.h"

#include <QMetaObject>
#include <QObject>

#include "captureanalysis.h"
#include "capturetext.h"
#include "framecapture.h"
#include "framesource.h"
#include "limitstext.h"
#include "numbertext.h"

TLiveAcquisition::TLiveAcquisition(const QString &Name, const TLimitSet *Limits, QObject *Receiver,
                                   std::function<void(std::shared_ptr<TLiveFrame>)> Deliver)
    : d_name(Name), d_limits(Limits), d_receiver(Receiver), d_deliver(std::move(Deliver))
{
  d_thread = std::thread([this] { Run(); });
}

TLiveAcquisition::~TLiveAcquisition()
{
  Stop();
  d_thread.join();
}

void TLiveAcquisition::Taken()
{
  std::lock_guard<std::mutex> lock(d_mutex);
  d_waiting = false;
  d_wake.notify_all();
}

void TLiveAcquisition::Stop()
{
  std::lock_guard<std::mutex> lock(d_mutex);
  d_stop = true;
  d_wake.notify_all();
}

bool TLiveAcquisition::Stopped() const
{
  std::lock_guard<std::mutex> lock(d_mutex);
  return d_stop;
}

QString TLiveAcquisition::Identity() const
{
  std::lock_guard<std::mutex> lock(d_mutex);
  return d_identity;
}

std::shared_ptr<TLiveFrame> TLiveAcquisition::Fit(TCapture Raw, bool OffsetsMeasured) const
{
  auto frame = std::make_shared<TLiveFrame>();
  frame->Raw = std::move(Raw);
  const TCapture &fitted = frame->Raw;
  auto capture = std::make_unique<TWindowCapture>();
  capture->FileName = d_name;
  const TCaptureProblem problem = AnalyseCapture(fitted, TEncoderSetup(), 0.0, capture->Analysis);
  if (problem.Kind != TCaptureProblem::None) {
    frame->Problem = QString("%1: %2").arg(d_name, CaptureProblemText(problem));
    return frame;
  }
  ShowWindowCapture(d_name, fitted, *capture);
  if (d_limits) {
    const TCaptureAnalysis &analysis = capture->Analysis;
    const double frequency = analysis.Motion.MaxFrequency;
    const TJudgement judgement =
        JudgeLimits(*d_limits, CaptureQuantities(analysis, frequency, OffsetsMeasured), frequency);
    frame->Judgement = judgement;
    for (const TCheck &check : judgement.Checks) {
      TLiveCheck row;
      row.Name = LimitLabel(check.Name, check.Quantity);
      row.Value = Given(check.Value.Value) ? MessageFigure(check.Value.Value) : "-";
      row.Expanded = Given(check.Value.Value) ? MessageFigure(2.0 * check.Value.Uncertainty) : "-";
      if (check.Band)
        row.Bounds = QString("%1 ... %2")
                         .arg(Given(check.Band->Low) ? MessageFigure(check.Band->Low) : "",
                              Given(check.Band->High) ? MessageFigure(check.Band->High) : "");
      row.Verdict = check.Verdict;
      frame->Checks.push_back(row);
    }
  }
  frame->Capture = std::move(capture);
  return frame;
}

void TLiveAcquisition::Run()
{
  const auto deliver = [this](std::shared_ptr<TLiveFrame> Frame) {
    {
      std::unique_lock<std::mutex> lock(d_mutex);
      if (d_stop)
        return false;
      d_waiting = true;
    }
    // The window may have moved on to another acquisition by the time it
    // runs this: it holds nothing of this one.
    QMetaObject::invokeMethod(
        d_receiver, [Deliver = d_deliver, Frame] { Deliver(Frame); }, Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(d_mutex);
    d_wake.wait(lock, [this] { return !d_waiting || d_stop; });
    return !d_stop;
  };
  std::string problem;
  const std::unique_ptr<TFrameSource> source = MakeFrameSource(d_name.toStdString(), problem);
  if (!source || !source->Open(problem)) {
    auto frame = std::make_shared<TLiveFrame>();
    frame->Problem = QString::fromStdString(problem);
    frame->Lost = true;
    deliver(frame);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(d_mutex);
    d_identity = QString::fromStdString(source->Identity());
  }
  QStringList notes;
  for (const std::string &note : source->Notes())
    notes << QString::fromStdString(note);
  for (;;) {
    TFrame frame;
    std::shared_ptr<TLiveFrame> live;
    if (!source->Next(frame, problem)) {
      live = std::make_shared<TLiveFrame>();
      live->Problem = QString::fromStdString(problem);
      live->Lost = true;
    } else {
      live = Fit(FrameCapture(std::move(frame)), source->MeasuresOffsets());
    }
    live->Notes = notes;
    notes.clear();
    const bool lost = live->Lost;
    if (!deliver(live) || lost)
      return;
  }
}
