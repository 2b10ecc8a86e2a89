#include "sweeptext.h"

#include <QByteArray>
#include <QIODevice>

#include "numbertext.h"

namespace {

// Six significant digits: enough to plot or compare designs by.
QByteArray Field(double Value)
{
  return ',' + Figure(Value).toLatin1();
}

}  // namespace

void WriteSweep(QIODevice &Device, const TSweep &Sweep,
                const std::vector<TEvaluationSummary> &Summaries)
{
  QByteArray text = QByteArray(Sweep.Parameter->Name) +
                    ",count_error,interpolation_error_pp_mm,interpolation_error_max_abs_mm,"
                    "interpolation_error_pp_percent,interpolation_error_max_abs_percent,"
                    "harmonic1_mm,harmonic2_mm,table_error_pp_mm\n";
  for (int i = 0; i < static_cast<int>(Summaries.size()); ++i) {
    const TEvaluationSummary &s = Summaries[i];
    text += Figure(Sweep.Value(i)).toLatin1() + (s.CountError ? ",1" : ",0") +
            Field(s.InMm(s.Error.PeakToPeak)) + Field(s.InMm(s.Error.MaxAbs)) +
            Field(RadToPercentPeriod(s.Error.PeakToPeak)) +
            Field(RadToPercentPeriod(s.Error.MaxAbs)) +
            Field(s.InMm(s.Error.Harmonics[0].Amplitude)) +
            Field(s.InMm(s.Error.Harmonics[1].Amplitude)) + Field(s.TablePeakToPeak()) + '\n';
  }
  Device.write(text);
}
