#include "framesave.h"

#include <QIODevice>

#include "chunkedwrite.h"
#include "numbertext.h"

namespace {

// A comment stays one line whatever the instrument answered.
QByteArray OneLine(const QString &Text)
{
  QByteArray line = Text.toUtf8();
  line.replace('\r', ' ').replace('\n', ' ');
  return line;
}

}  // namespace

void WriteSavedFrame(QIODevice &Device, const TCapture &Capture, const QString &Source,
                     const QString &Instrument)
{
  const bool timed = Capture.Time.size() == Capture.Size();
  QByteArray text = "# vantrel-report --acquire " + OneLine(Source) + '\n';
  text += "# instrument: " + OneLine(Instrument) + '\n';
  text += timed ? "time_s,a,b\n" : "a,b\n";
  for (std::size_t i = 0; i < Capture.Size(); ++i) {
    if (timed) {
      AppendDigits17(text, Capture.Time[i]);
      text += ',';
    }
    AppendDigits17(text, Capture.A[i]);
    text += ',';
    AppendDigits17(text, Capture.B[i]);
    text += '\n';
    WriteFullChunk(Device, text);
  }
  Device.write(text);
}
