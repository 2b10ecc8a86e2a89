#ifndef SCPISOURCE_H
#define SCPISOURCE_H

#include <memory>
#include <string>

#include "framesource.h"
#include "sourceaddress.h"

std::unique_ptr<TFrameSource> MakeScpiSource(const TSourceAddress &Address, std::string &Problem);

#endif
