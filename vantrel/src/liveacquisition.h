#ifndef LIVEACQUISITION_H
#define LIVEACQUISITION_H

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "capture.h"
#include "signallimits.h"
#include "windowcapture.h"

class QObject;
class TFrameSource;

// One check of a live frame as the window lists it.
struct TLiveCheck
{
  QString Name, Value, Expanded, Bounds;
  TVerdict Verdict = TVerdict::Undecided;
};

// One frame of a live acquisition, fitted and thinned for the window, with
// its checks; or the problem that ended the acquisition.
struct TLiveFrame
{
  std::unique_ptr<TWindowCapture> Capture;
  // The samples as they came, for saving.
  TCapture Raw;
  std::vector<TLiveCheck> Checks;
  // The same checks as figures, for the protocol; none without limits.
  std::optional<TJudgement> Judgement;
  // Notes the source gives once, with the first frame.
  QStringList Notes;
  // Why the frame shows nothing: a frame that cannot be fitted (the scale
  // standing still), or, Lost, a source that ended the acquisition.
  QString Problem;
  bool Lost = false;
};

// Reads frames from the source Name names on a thread of its own (where
// the source is made, as its socket must be) and hands each, fitted, to
// Deliver on Receiver's thread. The next frame is read only once the
// window took the last (Taken), so frames never queue up behind a busy or
// held window.
class TLiveAcquisition
{
public:
  TLiveAcquisition(const QString &Name, const TLimitSet *Limits, QObject *Receiver,
                   std::function<void(std::shared_ptr<TLiveFrame>)> Deliver);
  // Stops, and waits for the frame in hand.
  ~TLiveAcquisition();
  TLiveAcquisition(const TLiveAcquisition &) = delete;
  TLiveAcquisition &operator=(const TLiveAcquisition &) = delete;

  void Taken();
  // Asks the thread to stop after the frame in hand; returns at once.
  void Stop();
  bool Stopped() const;
  // The instrument's own name for itself, once the first frame came.
  QString Identity() const;

private:
  void Run();
  std::shared_ptr<TLiveFrame> Fit(TCapture Raw, bool OffsetsMeasured) const;

  QString d_name;
  const TLimitSet *d_limits;
  QObject *d_receiver;
  std::function<void(std::shared_ptr<TLiveFrame>)> d_deliver;
  mutable std::mutex d_mutex;
  std::condition_variable d_wake;
  bool d_stop = false;
  bool d_waiting = false;
  QString d_identity;
  std::thread d_thread;
};

#endif
