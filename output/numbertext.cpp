#include "numbertext.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

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

QString MessageFigure(double Value)
{
  const int digits = 3;
  if (Value == 0.0 || !std::isfinite(Value))
    return QString::number(Value);
  int exponent = static_cast<int>(std::floor(std::log10(std::fabs(Value))));
  const double rounded = std::round(Value / std::pow(10.0, exponent - (digits - 1))) *
                         std::pow(10.0, exponent - (digits - 1));
  // 0.9996 rounds up into the next decade: one decimal fewer.
  if (std::fabs(rounded) >= std::pow(10.0, exponent + 1))
    ++exponent;
  if (exponent < -4 || exponent >= 6)
    return QString::number(Value, 'g', digits);
  return QString::number(rounded, 'f', std::max(0, digits - 1 - exponent));
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
