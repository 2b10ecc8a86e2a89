#include "evaluationtext.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "evaluationreport.h"

namespace {
// Bytes collected before each write.
const int ChunkSize = 1 << 16;
}  // namespace

void WriteTable(QIODevice &Device, const TEncoderSetup &Setup, const TEvaluation &Evaluation)
{
  // The same lines, joined the same way, as the window's single append.
  QString text = EvaluationHeaderLines(Setup.Pitch, Setup.Resolution, Evaluation.Count).join('\n');
  int number = 1;
  for (const TVector2 &point : Evaluation.Points) {
    text += '\n';
    text += EvaluationRow(number++, point);
    if (text.size() >= ChunkSize) {
      Device.write(text.toLatin1());
      text.clear();
    }
  }
  text += '\n';
  Device.write(text.toLatin1());
}

void WriteCsv(QIODevice &Device, const TEvaluation &Evaluation)
{
  QByteArray text = "point,pass,position,error\n";
  const std::size_t forward = Evaluation.ForwardSize();
  for (std::size_t i = 0; i < Evaluation.Points.size(); ++i) {
    const TVector2 &point = Evaluation.Points[i];
    text += QByteArray::number(static_cast<qulonglong>(i) + 1);
    text += i < forward ? ",forward," : ",return,";
    text += QByteArray::number(point.x, 'g', 17);
    text += ',';
    text += QByteArray::number(point.y, 'g', 17);
    text += '\n';
    if (text.size() >= ChunkSize) {
      Device.write(text);
      text.clear();
    }
  }
  Device.write(text);
}
