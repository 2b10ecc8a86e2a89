#include "graphaxis.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>

namespace {

// Labels show at most this many decimals, and the field width is never
// built from more digits than a double's largest magnitude has.
const int MaxDecimals = 5;
const double MaxLog10 = 308.0;
const double MaxLogSpan = 710.0;

}  // namespace

TLabelFormat ChooseLabelFormat(double Magnitude, double Span)
{
  if (!(Magnitude > 1.0))  // NaN counts as small
    return TLabelFormat{MaxDecimals + 1, MaxDecimals};
  const double span = Span >= 1.0 ? Span : 1.0;
  const int digits = static_cast<int>(std::min(std::log10(Magnitude), MaxLog10));
  // Natural, not decimal, logarithm of the span.
  const int steps = static_cast<int>(std::min(std::log(span), MaxLogSpan));
  const int decimals = std::max(MaxDecimals - steps, 0);
  return TLabelFormat{decimals + digits + 1, decimals};
}

QString LabelFormatText(const TLabelFormat &Format)
{
  return QString::asprintf("%% %d.%dlf", Format.Width, Format.Decimals);
}

QString LabelSampleText(const TLabelFormat &Format, int TrailingBlanks)
{
  const QByteArray padded =
      QString::asprintf("%%0%d.%dlf", Format.Width, Format.Decimals).toLatin1();
  return QString::asprintf(padded.constData(), 0.0) +
         QString(std::max(TrailingBlanks, 0), QLatin1Char(' '));
}

std::vector<int> TickPositions(int First, int Extent, int Step)
{
  std::vector<int> ticks;
  if (Step < 1)
    return ticks;
  const int count = Extent / Step;  // so adjacent labels cannot overlap
  if (count < 2)
    return ticks;
  const double spacing = static_cast<double>(Extent) / (count - 1);
  ticks.reserve(count);
  for (int i = 0; i < count; ++i)
    ticks.push_back(First + static_cast<int>(i * spacing));
  return ticks;
}

QString TickLabel(const QString &Format, double Value)
{
  return QString::asprintf(Format.toLatin1().constData(), Value);
}
