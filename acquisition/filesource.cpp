#include "filesource.h"

#include <algorithm>
#include <cstddef>

#include "capturereader.h"
#include "sourcesettings.h"

namespace {

// A capture file read once and handed out frame by frame, from the start
// again after its end, so that a window can watch it for ever.
class TFileSource : public TFrameSource
{
public:
  TFileSource(const std::string &Name, const std::string &Path, const TCaptureReadOptions &Options,
              std::size_t FrameSize, double TimeStep)
      : d_name(Name),
        d_path(Path),
        d_options(Options),
        d_frame_size(FrameSize),
        d_time_step(TimeStep)
  {}

  bool Open(std::string &Problem) override
  {
    d_capture = TCapture();
    d_next = 0;
    return ReadCaptureFile(d_path, d_options, d_capture, Problem);
  }

  // Frames keep to the file's order: the last one may be shorter, as a
  // frame across the end would splice the end onto the start.
  bool Next(TFrame &Frame, std::string &Problem) override
  {
    if (d_capture.Size() == 0) {
      Problem = d_name + ": not open";
      return false;
    }
    if (d_next >= d_capture.Size())
      d_next = 0;
    const std::size_t size =
        d_frame_size == 0 ? d_capture.Size() : std::min(d_frame_size, d_capture.Size() - d_next);
    const auto first = static_cast<std::ptrdiff_t>(d_next);
    const auto last = static_cast<std::ptrdiff_t>(d_next + size);
    Frame = TFrame();
    Frame.A.assign(d_capture.A.begin() + first, d_capture.A.begin() + last);
    Frame.B.assign(d_capture.B.begin() + first, d_capture.B.begin() + last);
    Frame.TimeStep = d_time_step;
    Frame.TimeOrigin = d_time_step * static_cast<double>(d_next);
    d_next += size;
    return true;
  }

  std::string Identity() const override { return d_path; }

private:
  std::string d_name;
  std::string d_path;
  TCaptureReadOptions d_options;
  std::size_t d_frame_size;
  double d_time_step;
  TCapture d_capture;
  std::size_t d_next = 0;
};

}  // namespace

std::unique_ptr<TFrameSource> MakeFileSource(const TSourceAddress &Address, std::string &Problem)
{
  const std::string name = "file:" + Address.Path;
  if (Address.Path.empty()) {
    Problem = "file: no capture file: give file:PATH";
    return nullptr;
  }
  TCaptureReadOptions options;
  long long frame = 0;
  double rate = 0.0;
  std::string rate_text;
  if (!CheckSettingNames(name, Address, {"frame", "rate", "skip-bad-rows", "decimal-comma"},
                         Problem) ||
      !ReadSetting(name, Address, "frame", 1, MaximumFrame, frame, Problem) ||
      !ReadPositive(name, Address, "rate", "samples per second", rate, rate_text, Problem) ||
      !ReadSwitch(name, Address, "skip-bad-rows", options.SkipBadRows, Problem) ||
      !ReadSwitch(name, Address, "decimal-comma", options.DecimalComma, Problem))
    return nullptr;
  return std::make_unique<TFileSource>(name, Address.Path, options, static_cast<std::size_t>(frame),
                                       rate > 0.0 ? 1.0 / rate : 0.0);
}
