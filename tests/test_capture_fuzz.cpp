// Thousands of damaged versions of a good capture go through the reader,
// the fit and the report: each is read or refused in one line, never a
// crash, a hang, a non-finite figure or a toolkit warning.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QTextCodec>
#include <cmath>
#include <random>
#include <sstream>

#include "capturereader.h"
#include "capturetext.h"

namespace {

int ToolkitMessages = 0;

void CountMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
  ++ToolkitMessages;
}

QByteArray GoodCapture()
{
  QByteArray text = "\xEF\xBB\xBFTime;CH1;CH2\r\ns;V;V\r\n";
  for (int i = 0; i < 300; ++i) {
    const double t = 0.05 * i;
    text += QByteArray::number(i * 1e-6) + ';' + QByteArray::number(0.1 + std::sin(t + 0.1)) + ';' +
            QByteArray::number(-0.05 + 0.9 * std::cos(t)) + "\r\n";
  }
  return text;
}

QByteArray Damaged(const QByteArray &Good, std::mt19937 &Random)
{
  QByteArray text = Good;
  const auto below = [&](int N) { return static_cast<int>(Random() % std::max(N, 1)); };
  switch (below(8)) {
    case 0:
      text.truncate(below(text.size()));
      break;
    case 1:
      for (int k = below(20); k >= 0; --k)
        text[below(text.size())] = static_cast<char>(Random());
      break;
    case 2: {
      QList<QByteArray> lines = text.split('\n');
      for (int k = below(10); k >= 0; --k) {
        const int at = below(lines.size());
        lines.insert(at, lines[at]);
      }
      text = lines.join('\n');
      break;
    }
    case 3: {
      QByteArray garbage(below(2000), '\0');
      for (char &c : garbage)
        c = static_cast<char>(Random());
      text.insert(below(text.size()), garbage);
      break;
    }
    case 4: {
      QList<QByteArray> lines = text.split('\n');
      for (int k = below(250); k >= 0 && !lines.isEmpty(); --k)
        lines.removeAt(below(lines.size()));
      text = lines.join('\n');
      break;
    }
    case 5: {
      // Glitches and instruments' overrange markers in place of samples.
      QList<QByteArray> lines = text.split('\n');
      for (int k = below(30); k >= 0; --k) {
        QByteArray &line = lines[below(lines.size())];
        QList<QByteArray> fields = line.split(';');
        if (fields.size() == 3)
          fields[1 + below(2)] = below(2) ? "9.9E37" : QByteArray::number(below(100) - 50);
        line = fields.join(';');
      }
      text = lines.join('\n');
      break;
    }
    case 6:
      // Decimal commas, quotes, and the last line cut short.
      text.replace('.', ',');
      if (below(2))
        text.replace(';', "\";\"");
      text.chop(below(30));
      break;
    default:
      // Numbers swapped for words, NaN, overflow and nothing.
      for (const char *word : {"nan", "1e999", "-inf", "", "x"})
        if (below(3) == 0)
          text.replace(QByteArray::number(below(10)) + ';', QByteArray(word) + ';');
      break;
  }
  return text;
}

// True when the capture was read and fitted.
bool CheckOne(const QByteArray &Text, bool SkipBadRows, bool Report)
{
  std::istringstream stream(Text.toStdString());
  TCaptureReadOptions options;
  options.SkipBadRows = SkipBadRows;
  TCapture capture;
  std::string read_message;
  QString message;
  TCaptureReport report;
  TCaptureProblem problem;
  if (ReadCapture(stream, "f", options, capture, read_message)) {
    problem = AnalyseCapture(capture, TEncoderSetup(), 0.0, report.Analysis);
    message = CaptureProblemText(problem);
  } else {
    message = QString::fromStdString(read_message);
  }
  if (!message.isEmpty()) {
    EXPECT_FALSE(message.contains('\n'));
    return false;
  }
  const TCaptureAnalysis &a = report.Analysis;
  for (double value : {a.Ellipse.OffsetA, a.Ellipse.AmplitudeB, a.Measured.Rms,
                       a.Measured.Harmonics[1].Amplitude, a.ResidualPercent})
    EXPECT_TRUE(std::isfinite(value));
  EXPECT_GE(a.Periods, 0.25);
  if (Report) {
    report.Capture = capture;
    report.Simulation = Summarize(a.Model, Evaluate(a.Model));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    WriteCaptureCsv(out, report);
    EXPECT_EQ(out.data().count('\n'), static_cast<int>(capture.Size()) + 1);
    EXPECT_FALSE(CaptureSummaryJson(report).isEmpty());
  }
  return true;
}

}  // namespace

TEST(CaptureFuzzTest, DamagedCapturesAreReadOrRefusedInOneLine)
{
  ToolkitMessages = 0;
  const QtMessageHandler previous = qInstallMessageHandler(CountMessage);
  const QByteArray good = GoodCapture();
  EXPECT_TRUE(CheckOne(good, false, true));
  QByteArray european = good;
  EXPECT_TRUE(CheckOne(european.replace('.', ','), false, true));
  // A fixed seed: the same 3000 captures every run.
  std::mt19937 random(20261207);
  int read = 0;
  for (int i = 0; i < 3000; ++i) {
    SCOPED_TRACE(i);
    read += CheckOne(Damaged(good, random), i % 2 == 0, i % 100 == 0);
  }
  // Both ways out are taken often.
  EXPECT_GT(read, 500);
  EXPECT_LT(read, 2500);
  // A 1 MB line, and the capture as UTF-16, as a Windows tool saves it.
  for (bool skip : {false, true})
    CheckOne(good.left(40) + QByteArray(1 << 20, '7') + good.mid(40), skip, false);
  EXPECT_FALSE(CheckOne(QTextCodec::codecForName("UTF-16")->fromUnicode(QString::fromUtf8(good)),
                        true, true));
  qInstallMessageHandler(previous);
  EXPECT_EQ(ToolkitMessages, 0);
}
