#include "framesource.h"

#include "alsasource.h"
#include "filesource.h"
#include "scpisource.h"
#include "sourceaddress.h"

std::unique_ptr<TFrameSource> MakeFrameSource(const std::string &Text, std::string &Problem)
{
  TSourceAddress address;
  if (!ParseSourceAddress(Text, address, Problem))
    return nullptr;
  if (address.Scheme == "scpi")
    return MakeScpiSource(address, Problem);
  if (address.Scheme == "alsa")
    return MakeAlsaSource(address, Problem);
  if (address.Scheme == "file")
    return MakeFileSource(address, Problem);
  Problem = "'" + Text + "': unknown kind of source '" + address.Scheme +
            "': give scpi://HOST[:PORT], alsa:DEVICE or file:PATH";
  return nullptr;
}
