#ifndef ALSASOURCE_H
#define ALSASOURCE_H

#include <memory>
#include <string>

#include "framesource.h"
#include "sourceaddress.h"

std::unique_ptr<TFrameSource> MakeAlsaSource(const TSourceAddress &Address, std::string &Problem);

#endif
