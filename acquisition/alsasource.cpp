#include "alsasource.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "sourcesettings.h"

namespace {

// A 16-bit code's full scale: -32768 is -1 FS.
const double FullScale = 32768.0;

// ALSA tells standard error what went wrong as well; the Problem says it.
void Silent(const char *, int, const char *, int, const char *, ...) {}

// The two input channels of a sound card, interleaved 16-bit samples (or
// floats where the card offers only those), in full scale.
class TAlsaSource : public TFrameSource
{
public:
  TAlsaSource(const std::string &Name, const std::string &Device, unsigned Rate,
              std::size_t FrameSize, double Timeout, const std::string &TimeoutText)
      : d_name(Name),
        d_device(Device),
        d_rate(Rate),
        d_frame_size(FrameSize),
        d_timeout(Timeout),
        d_timeout_text(TimeoutText)
  {}
  ~TAlsaSource() override { Close(); }
  TAlsaSource(const TAlsaSource &) = delete;
  TAlsaSource &operator=(const TAlsaSource &) = delete;

  bool Open(std::string &Problem) override
  {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(Silent); });
    Close();
    // Non-blocking, so that a silent card costs the timeout, not the program.
    const int error =
        snd_pcm_open(&d_pcm, d_device.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (error < 0) {
      d_pcm = nullptr;
      Problem = Failure("cannot open the sound card", error);
      return false;
    }
    if (!Configure(Problem)) {
      Close();
      return false;
    }
    return true;
  }

  bool Next(TFrame &Frame, std::string &Problem) override
  {
    if (!d_pcm) {
      Problem = d_name + ": not open";
      return false;
    }
    std::vector<std::int16_t> codes(d_float ? 0 : 2 * d_frame_size);
    std::vector<float> levels(d_float ? 2 * d_frame_size : 0);
    std::size_t got = 0;
    bool recovered = false;
    while (got < d_frame_size) {
      void *into = d_float ? static_cast<void *>(levels.data() + 2 * got)
                           : static_cast<void *>(codes.data() + 2 * got);
      snd_pcm_sframes_t read = snd_pcm_readi(d_pcm, into, d_frame_size - got);
      if (read == -EAGAIN) {
        const int ready = snd_pcm_wait(d_pcm, WaitMilliseconds());
        if (ready == 0) {
          Problem = d_name + ": no samples within " + d_timeout_text + " s";
          return false;
        }
        if (ready > 0)
          continue;
        read = ready;
      }
      // An overrun leaves a gap in the samples: the frame starts over.
      if (read == -EPIPE && !recovered) {
        recovered = true;
        got = 0;
        const int error = snd_pcm_prepare(d_pcm);
        if (error < 0) {
          Problem = Failure("cannot recover from an overrun", error);
          return false;
        }
        continue;
      }
      if (read < 0) {
        Problem = read == -EPIPE ? d_name + ": the sound card overran twice in one frame"
                                 : Failure("cannot read", static_cast<int>(read));
        return false;
      }
      got += static_cast<std::size_t>(read);
    }
    Frame = TFrame();
    Frame.A.resize(d_frame_size);
    Frame.B.resize(d_frame_size);
    for (std::size_t i = 0; i < d_frame_size; ++i) {
      Frame.A[i] = d_float ? levels[2 * i] : codes[2 * i] / FullScale;
      Frame.B[i] = d_float ? levels[2 * i + 1] : codes[2 * i + 1] / FullScale;
    }
    Frame.TimeStep = 1.0 / d_rate;
    Frame.Units = "FS";
    return true;
  }

  std::string Identity() const override { return d_device; }
  std::vector<std::string> Notes() const override
  {
    return {"a sound card's inputs block DC: the signals' offsets are not measured"};
  }
  bool MeasuresOffsets() const override { return false; }

private:
  std::string Failure(const std::string &What, int Error) const
  {
    return d_name + ": " + What + ": " + snd_strerror(Error);
  }

  bool Configure(std::string &Problem)
  {
    snd_pcm_hw_params_t *params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    int error = snd_pcm_hw_params_any(d_pcm, params);
    if (error >= 0)
      error = snd_pcm_hw_params_set_access(d_pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (error < 0) {
      Problem = Failure("cannot read interleaved samples", error);
      return false;
    }
    d_float = snd_pcm_hw_params_set_format(d_pcm, params, SND_PCM_FORMAT_S16_LE) < 0;
    if (d_float && snd_pcm_hw_params_set_format(d_pcm, params, SND_PCM_FORMAT_FLOAT_LE) < 0) {
      Problem = d_name + ": the sound card gives neither 16-bit nor float samples";
      return false;
    }
    if (snd_pcm_hw_params_set_channels(d_pcm, params, 2) < 0) {
      Problem = d_name + ": the sound card has no two input channels";
      return false;
    }
    if (snd_pcm_hw_params_set_rate(d_pcm, params, d_rate, 0) < 0) {
      unsigned least = 0, most = 0;
      snd_pcm_hw_params_get_rate_min(params, &least, nullptr);
      snd_pcm_hw_params_get_rate_max(params, &most, nullptr);
      Problem = d_name + ": the sound card refuses " + std::to_string(d_rate) + " Hz: it offers " +
                std::to_string(least) + " to " + std::to_string(most) + " Hz";
      return false;
    }
    // Room for a few frames, or half a second, so that a slow reader
    // seldom overruns.
    snd_pcm_uframes_t buffer = std::max<snd_pcm_uframes_t>(4 * d_frame_size, d_rate / 2);
    snd_pcm_hw_params_set_buffer_size_near(d_pcm, params, &buffer);
    error = snd_pcm_hw_params(d_pcm, params);
    if (error < 0) {
      Problem = Failure("cannot set up the sound card", error);
      return false;
    }
    return true;
  }

  // At least a millisecond, and no more than poll() can wait.
  int WaitMilliseconds() const
  {
    return static_cast<int>(std::clamp(std::ceil(d_timeout * 1000), 1.0, 2147483647.0));
  }

  void Close()
  {
    if (d_pcm)
      snd_pcm_close(d_pcm);
    d_pcm = nullptr;
  }

  std::string d_name;
  std::string d_device;
  unsigned d_rate;
  std::size_t d_frame_size;
  double d_timeout;
  std::string d_timeout_text;
  snd_pcm_t *d_pcm = nullptr;
  bool d_float = false;
};

}  // namespace

std::unique_ptr<TFrameSource> MakeAlsaSource(const TSourceAddress &Address, std::string &Problem)
{
  const std::string name = "alsa:" + Address.Path;
  if (Address.Path.empty()) {
    Problem = "alsa: no sound card: give alsa:DEVICE, such as alsa:default";
    return nullptr;
  }
  long long rate = 48000, frame = 4800;
  double timeout = 5.0;
  std::string timeout_text = "5";
  if (!CheckSettingNames(name, Address, {"rate", "frame", "timeout"}, Problem) ||
      !ReadSetting(name, Address, "rate", 1, 1000000, rate, Problem) ||
      !ReadSetting(name, Address, "frame", 1, MaximumFrame, frame, Problem) ||
      !ReadPositive(name, Address, "timeout", "seconds", timeout, timeout_text, Problem))
    return nullptr;
  return std::make_unique<TAlsaSource>(name, Address.Path, static_cast<unsigned>(rate),
                                       static_cast<std::size_t>(frame), timeout, timeout_text);
}
