#ifndef SOURCEADDRESS_H
#define SOURCEADDRESS_H

#include <map>
#include <string>

// A frame source's address taken apart: scheme, host and port (scpi), the
// device or path (alsa, file), and the query's settings.
struct TSourceAddress
{
  std::string Text;
  std::string Scheme;
  std::string Host;
  int Port = 0;
  std::string Path;
  std::map<std::string, std::string> Settings;
};

// False with a Problem naming the address when it is malformed.
bool ParseSourceAddress(const std::string &Text, TSourceAddress &Address, std::string &Problem);

#endif
