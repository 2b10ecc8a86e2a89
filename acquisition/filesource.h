#ifndef FILESOURCE_H
#define FILESOURCE_H

#include <memory>
#include <string>

#include "framesource.h"
#include "sourceaddress.h"

std::unique_ptr<TFrameSource> MakeFileSource(const TSourceAddress &Address, std::string &Problem);

#endif
