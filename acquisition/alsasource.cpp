#include "alsasource.h"

std::unique_ptr<TFrameSource> MakeAlsaSource(const TSourceAddress &Address, std::string &Problem)
{
  Problem = Address.Text + ": this build reads no alsa sources";
  return nullptr;
}
