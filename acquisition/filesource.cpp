#include "filesource.h"

std::unique_ptr<TFrameSource> MakeFileSource(const TSourceAddress &Address, std::string &Problem)
{
  Problem = Address.Text + ": this build reads no file sources";
  return nullptr;
}
