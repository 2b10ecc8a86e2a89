#include "scpisource.h"

#include <cmath>

#include "scpilink.h"
#include "scpipreamble.h"
#include "sourcesettings.h"

namespace {

// The commands one family of instruments understands; the channel's
// number follows Source.
struct TDialect
{
  const char *Name;
  const char *Source;
  const char *Setup[2];
  const char *PreambleQuery;
  bool (*ParsePreamble)(const std::string &, TPreamble &, std::string &);
  const char *DataQuery;
};

// Both ask for 16-bit codes; the preamble tells what came.
const TDialect Dialects[] = {
    {"wav",
     ":WAV:SOUR CHAN",
     {":WAV:FORM WORD", nullptr},
     ":WAV:PRE?",
     ParseWavPreamble,
     ":WAV:DATA?"},
    {"curve",
     "DATA:SOURCE CH",
     {"DATA:ENCDG RIBINARY", "DATA:WIDTH 2"},
     "WFMOUTPRE?",
     ParseCurvePreamble,
     "CURVE?"},
};

const int DefaultPort = 5025;

// "1,2": two distinct channels of 1 ... 4.
bool ReadChannels(const std::string &Text, int Channels[2])
{
  const std::size_t comma = Text.find(',');
  return comma != std::string::npos && ParseSettingNumber(Text.substr(0, comma), Channels[0]) &&
         ParseSettingNumber(Text.substr(comma + 1), Channels[1]) && Channels[0] != Channels[1] &&
         Channels[0] >= 1 && Channels[0] <= 4 && Channels[1] >= 1 && Channels[1] <= 4;
}

class TScpiSource : public TFrameSource
{
public:
  TScpiSource(const TSourceAddress &Address, const TDialect &Dialect, const int Channels[2],
              const std::string &TimeoutText, double Timeout)
      : d_name("scpi://" + Address.Host + ":" + std::to_string(Address.Port)),
        d_host(Address.Host),
        d_port(Address.Port),
        d_dialect(Dialect),
        d_channels{Channels[0], Channels[1]},
        d_link(TimeoutText, Timeout)
  {}

  bool Open(std::string &Problem) override
  {
    d_link.Abort();
    d_link.StartDeadline();
    if (d_link.Connect(d_host, d_port, Problem) && d_link.Query("*IDN?", d_identity, Problem))
      return true;
    return Failed(Problem, Problem);
  }

  bool Next(TFrame &Frame, std::string &Problem) override
  {
    d_link.StartDeadline();
    // A failed exchange dropped the connection; take it up again.
    if (!d_link.Connected() && !d_link.Connect(d_host, d_port, Problem))
      return Failed(Problem, Problem);
    TFrame frame;
    for (int i = 0; i < 2; ++i)
      if (!ReadChannel(d_channels[i], i == 0 ? frame.A : frame.B, i == 0 ? frame : d_second,
                       Problem))
        return Failed(Problem, Problem);
    if (frame.A.size() != frame.B.size())
      return Failed("channel " + std::to_string(d_channels[0]) + " sent " +
                        std::to_string(frame.A.size()) + " points, channel " +
                        std::to_string(d_channels[1]) + " " + std::to_string(frame.B.size()),
                    Problem);
    if (frame.TimeStep != d_second.TimeStep)
      return Failed("the channels' time steps differ", Problem);
    Frame = std::move(frame);
    return true;
  }

  std::string Identity() const override { return d_identity; }

private:
  bool Failed(const std::string &What, std::string &Problem)
  {
    d_link.Abort();
    Problem = d_name + ": " + What;
    return false;
  }

  bool ReadChannel(int Channel, std::vector<double> &Volts, TFrame &Timing, std::string &Problem)
  {
    if (!d_link.Send(d_dialect.Source + std::to_string(Channel), Problem))
      return false;
    for (const char *command : d_dialect.Setup)
      if (command && !d_link.Send(command, Problem))
        return false;
    std::string reply, data;
    TPreamble preamble;
    if (!d_link.Query(d_dialect.PreambleQuery, reply, Problem) ||
        !d_dialect.ParsePreamble(reply, preamble, Problem) ||
        !d_link.QueryBlock(d_dialect.DataQuery, data, Problem))
      return false;
    const std::size_t width = static_cast<std::size_t>(preamble.Format.Bytes);
    if (data.size() != preamble.Points * width) {
      Problem = "channel " + std::to_string(Channel) + "'s block holds " +
                std::to_string(data.size()) + " bytes, not the " + std::to_string(preamble.Points) +
                " points of " + std::to_string(width) + " bytes its preamble announces";
      return false;
    }
    const std::vector<long> codes = DecodeCodes(data.data(), data.size(), preamble.Format);
    Volts.resize(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i)
      Volts[i] = preamble.Volts(codes[i]);
    Timing.TimeStep = preamble.TimeStep;
    Timing.TimeOrigin = preamble.TimeOrigin;
    return true;
  }

  std::string d_name, d_host;
  int d_port;
  const TDialect &d_dialect;
  int d_channels[2];
  TScpiLink d_link;
  std::string d_identity;
  // The second channel's timing, to compare with the first's.
  TFrame d_second;
};

}  // namespace

std::unique_ptr<TFrameSource> MakeScpiSource(const TSourceAddress &Address, std::string &Problem)
{
  TSourceAddress address = Address;
  if (address.Port == 0)
    address.Port = DefaultPort;
  const std::string name = "scpi://" + address.Host + ":" + std::to_string(address.Port);
  const auto fail = [&](const std::string &What) {
    Problem = name + ": " + What;
    return nullptr;
  };
  if (address.Host.empty())
    return fail("no host: give scpi://HOST[:PORT]");
  if (!CheckSettingNames(name, address, {"dialect", "channels", "timeout"}, Problem))
    return nullptr;
  const auto setting = [&](const char *Key, const char *Default) {
    const auto found = address.Settings.find(Key);
    return found == address.Settings.end() ? std::string(Default) : found->second;
  };
  const std::string dialect = setting("dialect", "wav"), channels = setting("channels", "1,2");
  const TDialect *chosen = nullptr;
  for (const TDialect &candidate : Dialects)
    if (dialect == candidate.Name)
      chosen = &candidate;
  if (!chosen)
    return fail("unknown dialect '" + dialect + "': give wav or curve");
  int numbers[2];
  if (!ReadChannels(channels, numbers))
    return fail("channels must be two distinct numbers from 1 to 4, such as 1,2, not '" + channels +
                "'");
  std::string timeout = "5";
  double seconds = 5.0;
  if (!ReadPositive(name, address, "timeout", "seconds", seconds, timeout, Problem))
    return nullptr;
  return std::make_unique<TScpiSource>(address, *chosen, numbers, timeout, seconds);
}
