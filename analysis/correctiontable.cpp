#include "correctiontable.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "angles.h"

namespace {

// The correction at Angle (0 ... 2 pi) from the grid's corrected angles,
// which rise through one turn: the two samples that bracket it,
// interpolated.
double CorrectionAt(const std::vector<double> &Corrected, const std::vector<double> &Correction,
                    double Angle)
{
  const std::size_t n = Corrected.size();
  const auto above = std::upper_bound(Corrected.begin(), Corrected.end(), Angle);
  const std::size_t j = static_cast<std::size_t>(above - Corrected.begin());
  // Wrapped round the turn at either end.
  const std::size_t hi = j % n, lo = (j + n - 1) % n;
  double x0 = Corrected[lo], x1 = Corrected[hi];
  if (j == 0)
    x0 -= TwoPi;
  if (j == n)
    x1 += TwoPi;
  const double t = x1 > x0 ? (Angle - x0) / (x1 - x0) : 0.0;
  return Correction[lo] + t * (Correction[hi] - Correction[lo]);
}

}  // namespace

double TCorrectionTable::At(double CorrectedAngle) const
{
  const int n = static_cast<int>(Entries.size());
  double position = CorrectedAngle / TwoPi * n;
  position -= n * std::floor(position / n);
  const int k = std::min(static_cast<int>(position), n - 1);
  const double t = position - k;
  return Entries[k] + t * (Entries[(k + 1) % n] - Entries[k]);
}

TCorrectionTable FitCorrectionTable(const std::vector<double> &ErrorAfterEllipse,
                                    const TTableSettings &Settings)
{
  assert(ErrorAfterEllipse.size() == static_cast<std::size_t>(AngleCount));
  TCorrectionTable table;
  table.Settings = Settings;
  // Corrected angle and the correction it needs, sorted by the corrected
  // angle in 0 ... 2 pi.
  struct TSample
  {
    double Corrected, Correction;
  };
  std::vector<TSample> samples(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    double corrected = GridAngle(k) + ErrorAfterEllipse[k];
    corrected -= TwoPi * std::floor(corrected / TwoPi);
    samples[k] = {corrected, -ErrorAfterEllipse[k]};
  }
  std::sort(samples.begin(), samples.end(),
            [](const TSample &X, const TSample &Y) { return X.Corrected < Y.Corrected; });
  std::vector<double> corrected(AngleCount), correction(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    corrected[k] = samples[k].Corrected;
    correction[k] = samples[k].Correction;
  }
  const int n = Settings.Size;
  table.Entries.resize(n);
  for (int j = 0; j < n; ++j)
    table.Entries[j] = CorrectionAt(corrected, correction, TwoPi * j / n);

  if (Settings.Bits > 0) {
    const long top = (1L << (Settings.Bits - 1)) - 1;
    double largest = 0.0;
    for (double entry : table.Entries)
      largest = std::max(largest, std::fabs(entry));
    table.Step = Settings.Step > 0.0 ? Settings.Step : largest / static_cast<double>(top);
    table.Codes.resize(n);
    for (int j = 0; j < n; ++j) {
      long code = table.Step > 0.0 ? std::lround(table.Entries[j] / table.Step) : 0;
      if (code > top || code < -top - 1) {
        code = std::clamp(code, -top - 1, top);
        ++table.Clamped;
      }
      table.Codes[j] = code;
      table.Entries[j] = static_cast<double>(code) * table.Step;
    }
  }

  std::vector<double> after(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    const double angle = GridAngle(k) + ErrorAfterEllipse[k];
    after[k] = WrappedAngle(ErrorAfterEllipse[k] + table.At(angle));
  }
  table.ErrorAfter = GridErrorFigures(after);
  return table;
}
