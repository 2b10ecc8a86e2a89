#include "evaluationtext.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "chunkedwrite.h"
#include "evaluationreport.h"
#include "numbertext.h"

void WriteTable(QIODevice &Device, const TEncoderSetup &Setup, const TEvaluation &Evaluation)
{
  // The same lines, joined the same way, as the window's single append.
  QByteArray text =
      EvaluationHeaderLines(Setup.Pitch, Setup.Resolution, Evaluation.Count).join('\n').toLatin1();
  int number = 1;
  for (const TVector2 &point : Evaluation.Points) {
    text += '\n';
    text += EvaluationRow(number++, point).toLatin1();
    WriteFullChunk(Device, text);
  }
  text += '\n';
  Device.write(text);
}

void WriteCsv(QIODevice &Device, const TEvaluation &Evaluation)
{
  QByteArray text = "point,pass,position,error\n";
  const std::size_t forward = Evaluation.ForwardSize();
  for (std::size_t i = 0; i < Evaluation.Points.size(); ++i) {
    const TVector2 &point = Evaluation.Points[i];
    text += QByteArray::number(static_cast<qulonglong>(i) + 1);
    text += i < forward ? ",forward," : ",return,";
    AppendQtDigits17(text, point.x);
    text += ',';
    AppendQtDigits17(text, point.y);
    text += '\n';
    WriteFullChunk(Device, text);
  }
  Device.write(text);
}
