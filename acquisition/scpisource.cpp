#include "scpisource.h"

std::unique_ptr<TFrameSource> MakeScpiSource(const TSourceAddress &Address, std::string &Problem)
{
  Problem = Address.Text + ": this build reads no scpi sources";
  return nullptr;
}
