#include "sourcesettings.h"

#include <cmath>

namespace {

// The setting's text, or null when the address does not give it.
const std::string *Given(const TSourceAddress &Address, const char *Setting)
{
  const auto found = Address.Settings.find(Setting);
  return found == Address.Settings.end() ? nullptr : &found->second;
}

}  // namespace

std::string SettingProblem(const std::string &Name, const TSourceAddress &Address,
                           const std::string &Setting, const std::string &Needs)
{
  const std::string *given = Given(Address, Setting.c_str());
  return Name + ": " + Setting + " must be " + Needs + ", not '" + (given ? *given : "") + "'";
}

bool CheckSettingNames(const std::string &Name, const TSourceAddress &Address,
                       std::initializer_list<const char *> Known, std::string &Problem)
{
  std::string names;
  const char *const *known = Known.begin();
  for (std::size_t i = 0; i < Known.size(); ++i)
    names += (i == 0 ? "" : i + 1 == Known.size() ? " or " : ", ") + std::string(known[i]);
  for (const auto &setting : Address.Settings) {
    bool listed = false;
    for (const char *name : Known)
      listed = listed || setting.first == name;
    if (!listed) {
      Problem = Name + ": unknown setting '" + setting.first + "': give " + names;
      return false;
    }
  }
  return true;
}

bool ReadSetting(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                 long long Least, long long Most, long long &Value, std::string &Problem)
{
  const std::string *given = Given(Address, Setting);
  long long number = 0;
  if (!given)
    return true;
  if (ParseSettingNumber(*given, number) && number >= Least && number <= Most) {
    Value = number;
    return true;
  }
  Problem = SettingProblem(
      Name, Address, Setting,
      "a whole number from " + std::to_string(Least) + " to " + std::to_string(Most));
  return false;
}

bool ReadPositive(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                  const char *Unit, double &Value, std::string &Text, std::string &Problem)
{
  const std::string *given = Given(Address, Setting);
  double number = 0.0;
  if (!given)
    return true;
  if (ParseSettingNumber(*given, number) && std::isfinite(number) && number > 0.0) {
    Value = number;
    Text = *given;
    return true;
  }
  Problem = SettingProblem(Name, Address, Setting, std::string("a positive number of ") + Unit);
  return false;
}

bool ReadSwitch(const std::string &Name, const TSourceAddress &Address, const char *Setting,
                bool &Value, std::string &Problem)
{
  const std::string *given = Given(Address, Setting);
  if (given && *given != "1" && *given != "0") {
    Problem = SettingProblem(Name, Address, Setting, "1 or 0");
    return false;
  }
  Value = given ? *given == "1" : Value;
  return true;
}
