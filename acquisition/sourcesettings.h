#ifndef SOURCESETTINGS_H
#define SOURCESETTINGS_H

#include <charconv>
#include <initializer_list>
#include <string>

#include "sourceaddress.h"

// The settings of an address's query. Each refusal is a one-line Problem
// that starts with the source's Name, such as "alsa:default".

// The most samples a frame may hold, ?frame=N, from any source.
const long long MaximumFrame = 10000000;

// The whole of Text as one number, decimal point only.
template <typename Number>
bool ParseSettingNumber(const std::string &Text, Number &Value)
{
  const char *end = Text.data() + Text.size();
  const auto result = std::from_chars(Text.data(), end, Value);
  return result.ec == std::errc() && result.ptr == end;
}

// "NAME: SETTING must be NEEDS, not 'VALUE'".
std::string SettingProblem(const std::string &Name, const TSourceAddress &Address,
                           const std::string &Setting, const std::string &Needs);

// False when the address has a setting not in Known.
bool CheckSettingNames(const std::string &Name, const TSourceAddress &Address,
                       std::initializer_list<const char *> Known, std::string &Problem);

// The setting as one number from Least to Most; Value stays as it is
// when the address does not give it.
bool ReadSetting(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                 long long Least, long long Most, long long &Value, std::string &Problem);
// A positive number; Text keeps it as given, for messages.
bool ReadPositive(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                  const char *Unit, double &Value, std::string &Text, std::string &Problem);
// A switch: 1 or 0.
bool ReadSwitch(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                bool &Value, std::string &Problem);

#endif
