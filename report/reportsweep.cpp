#include "reportsweep.h"

#include <QByteArray>
#include <QIODevice>
#include <algorithm>

#include "reportsummary.h"

namespace {

// Six significant digits: enough to plot or compare designs by.
QByteArray Field(double Value)
{
  return ',' + QByteArray::number(Value, 'g', 6);
}

}  // namespace

void WriteSweep(QIODevice &Device, const TReportSetup &Base, const TSweep &Sweep)
{
  QByteArray text = Sweep.Name.toUtf8() +
                    ",count_error,interpolation_error_pp_mm,interpolation_error_max_abs_mm,"
                    "interpolation_error_pp_percent,interpolation_error_max_abs_percent,"
                    "harmonic1_mm,harmonic2_mm,table_error_pp_mm\n";
  for (int i = 0; i < Sweep.Steps; ++i) {
    TReportSetup setup = Base;
    const double value = Sweep.Value(i);
    SetChannelParameter(setup, Sweep.Name, value);
    const TReportSummary s = Summarize(setup, Evaluate(setup));
    const double table_pp =
        std::max(s.Forward.Max, s.Return.Max) - std::min(s.Forward.Min, s.Return.Min);
    text += QByteArray::number(value, 'g', 6) + (s.CountError ? ",1" : ",0") +
            Field(s.InMm(s.Error.PeakToPeak)) + Field(s.InMm(s.Error.MaxAbs)) +
            Field(s.InPercentPeriod(s.Error.PeakToPeak)) +
            Field(s.InPercentPeriod(s.Error.MaxAbs)) +
            Field(s.InMm(s.Error.Harmonics[0].Amplitude)) +
            Field(s.InMm(s.Error.Harmonics[1].Amplitude)) + Field(table_pp) + '\n';
  }
  Device.write(text);
}
