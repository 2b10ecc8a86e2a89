#include "errorlines.h"

#include "textcolumns.h"

QStringList ErrorUnitColumns()
{
  return {"rad", "deg", "% period", "counts", "mm"};
}

QStringList HarmonicColumns()
{
  return {"% period", "mm", "phase rad"};
}

QString ErrorLines(const TInterpolationError &Error, const std::function<QString(double)> &Units,
                   int LabelWidth)
{
  return Line("Peak-to-peak", Units(Error.PeakToPeak), LabelWidth) +
         Line("Largest magnitude", Units(Error.MaxAbs), LabelWidth) +
         Line("Mean (bias)", Units(Error.Mean), LabelWidth) +
         Line("RMS", Units(Error.Rms), LabelWidth);
}
