#ifndef OPTIONNUMBER_H
#define OPTIONNUMBER_H

#include <QByteArray>
#include <QString>
#include <charconv>

// An option's value as one number, read with std::from_chars (decimal
// point only, whatever the locale). Without Rest the whole text must be
// the number; with Rest, what follows the number is stored there.
template <typename Number>
bool ParseOptionNumber(const QString &Text, Number &Value, QByteArray *Rest = nullptr)
{
  const QByteArray bytes = Text.toUtf8();
  const char *end = bytes.constData() + bytes.size();
  const auto result = std::from_chars(bytes.constData(), end, Value);
  if (result.ec != std::errc())
    return false;
  if (Rest)
    *Rest = QByteArray(result.ptr, static_cast<int>(end - result.ptr));
  return Rest || result.ptr == end;
}

#endif
