#include "numbertext.h"

#include <QLocale>
#include <charconv>

namespace {

const int FigureDigits = 6;
const int RoundTripDigits = 17;

// Room for any double in either std::to_chars form below.
const int BufferSize = 32;

}  // namespace

QString Figure(double Value)
{
  return QString::number(Value, 'g', FigureDigits);
}

QString ShortestText(double Value)
{
  return QString::number(Value, 'g', QLocale::FloatingPointShortest);
}

void AppendShortest(QByteArray &Text, double Value)
{
  char buffer[BufferSize];
  const auto result = std::to_chars(buffer, buffer + BufferSize, Value);
  Text.append(buffer, static_cast<int>(result.ptr - buffer));
}

void AppendDigits17(QByteArray &Text, double Value)
{
  char buffer[BufferSize];
  const auto result = std::to_chars(buffer, buffer + BufferSize, Value, std::chars_format::general,
                                    RoundTripDigits);
  Text.append(buffer, static_cast<int>(result.ptr - buffer));
}

void AppendQtDigits17(QByteArray &Text, double Value)
{
  Text.append(QByteArray::number(Value, 'g', RoundTripDigits));
}
