#include "evaluationreport.h"

QStringList EvaluationHeaderLines(double Pitch, double Resolution, int Count)
{
  return QStringList() << QString::asprintf("Scale Pitch:        %.4f", Pitch)
                       << QString::asprintf("Scale Resolution:   %.4f", Resolution)
                       << QString::asprintf("Interpolator Count: %d\n", Count)
                       << QString("Point#    Position   Interpolation Error")
                       << QString("----------------------------------------\n");
}

QString EvaluationRow(int Number, const TVector2 &Point)
{
  return QString::asprintf("%5d %10.4f %10.4f", Number, Point.x, Point.y);
}
