#include "sourceaddress.h"

#include <QUrl>
#include <QUrlQuery>

bool ParseSourceAddress(const std::string &Text, TSourceAddress &Address, std::string &Problem)
{
  const QUrl url(QString::fromStdString(Text), QUrl::StrictMode);
  Address = TSourceAddress();
  Address.Text = Text;
  if (!url.isValid() || url.scheme().isEmpty()) {
    Problem = "'" + Text + "' is no source: give scpi://HOST[:PORT], alsa:DEVICE or file:PATH";
    return false;
  }
  Address.Scheme = url.scheme().toLower().toStdString();
  Address.Host = url.host().toStdString();
  Address.Port = url.port(0);
  Address.Path = url.path(QUrl::FullyDecoded).toStdString();
  for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
    Address.Settings[key.toStdString()] = value.toStdString();
  return true;
}
