#include "fakescope.h"

#include <QThread>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "angles.h"

namespace {

// The signals, at most +-1 V, fill 80 % of the codes.
const double FullScale = 1.25;

QByteArray Number(double Value)
{
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, Value);
  return QByteArray(buffer, static_cast<int>(result.ptr - buffer));
}

}  // namespace

TFakeScope::TFakeScope(const TFakeScopeOptions &Options)
    : d_options(Options),
      d_signals{{Options.Setup, 0, CounterStreamA}, {Options.Setup, 1, CounterStreamB}},
      d_step(FullScale / (Options.Word ? 32768.0 : 128.0)),
      // :WAV: codes are unsigned with 0 V mid-scale; CURVE? codes are signed.
      d_zero_code(Options.Curve  ? 0
                  : Options.Word ? 32768
                                 : 128)
{
  connect(&d_server, &QTcpServer::newConnection, this, &TFakeScope::Accept);
}

bool TFakeScope::Listen(quint16 Port)
{
  return d_server.listen(QHostAddress::LocalHost, Port);
}

quint16 TFakeScope::Port() const
{
  return d_server.serverPort();
}

void TFakeScope::Accept()
{
  while (QTcpSocket *socket = d_server.nextPendingConnection()) {
    if (d_client)
      d_client->deleteLater();
    d_client = socket;
    d_received.clear();
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &TFakeScope::Read);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void TFakeScope::Read()
{
  d_received += d_client->readAll();
  int end;
  while (d_client && (end = d_received.indexOf('\n')) >= 0) {
    const QByteArray command = d_received.left(end).trimmed().toUpper();
    d_received.remove(0, end + 1);
    Answer(command);
  }
}

void TFakeScope::Answer(const QByteArray &Command)
{
  const QByteArray source = d_options.Curve ? "DATA:SOURCE CH" : ":WAV:SOUR CHAN";
  if (Command == "*IDN?")
    Reply(QByteArray("VANTREL,FAKESCOPE-") + (d_options.Curve ? "CURVE" : "WAV") + ",0,1.0\n");
  else if (Command.startsWith(source))
    d_channel = std::clamp(Command.mid(source.size()).toInt(), 1, 4);
  else if (Command == (d_options.Curve ? "WFMOUTPRE?" : ":WAV:PRE?"))
    Reply(d_options.MalformedPreamble ? "-113,\"Undefined header\"\n" : Preamble());
  else if (Command == (d_options.Curve ? "CURVE?" : ":WAV:DATA?")) {
    QThread::msleep(static_cast<unsigned long>(d_options.Late));
    const QByteArray codes = Codes(d_channel);
    const QByteArray length = QByteArray::number(codes.size());
    // #0 starts a block of unstated length, which a careful reader refuses.
    const QByteArray header =
        d_options.MalformedBlock ? "#0" : "#" + QByteArray::number(length.size()) + length;
    if (d_options.HangUp >= 0) {
      Reply(header + codes.left(static_cast<int>(d_options.HangUp)));
      d_options.HangUp = -1;
      d_client->disconnectFromHost();
      return;
    }
    Reply(header + codes + "\n");
  }
}

void TFakeScope::Reply(const QByteArray &Bytes)
{
  const int piece = d_options.Pieces > 0 ? d_options.Pieces : std::max(1, Bytes.size());
  for (int at = 0; at < Bytes.size() && d_client; at += piece) {
    QThread::msleep(static_cast<unsigned long>(d_options.Delay));
    d_client->write(Bytes.mid(at, piece));
    d_client->waitForBytesWritten(1000);
  }
}

void TFakeScope::Acquire(int Channel)
{
  if (d_sent.count(Channel)) {
    d_sent.clear();
    d_start += d_options.Points;
  }
}

QByteArray TFakeScope::Preamble()
{
  Acquire(d_channel);
  const double step = 1.0 / d_options.Rate, origin = static_cast<double>(d_start) * step;
  if (d_options.Curve)
    return ":WFMOUTPRE:BYT_NR " + QByteArray(d_options.Word ? "2" : "1") + ";BIT_NR " +
           (d_options.Word ? "16" : "8") + ";ENCDG BIN;BN_FMT RI;BYT_OR MSB;WFID \"Ch" +
           QByteArray::number(d_channel) + ", DC coupling; fake\";NR_PT " +
           QByteArray::number(static_cast<qlonglong>(d_options.Points)) +
           ";PT_FMT Y;XUNIT \"s\";XINCR " + Number(step) + ";XZERO " + Number(origin) +
           ";PT_OFF 0;YUNIT \"V\";YMULT " + Number(d_step) + ";YOFF 0;YZERO 0\n";
  return QByteArray(d_options.Word ? "1" : "0") + ",0," +
         QByteArray::number(static_cast<qlonglong>(d_options.Points)) + ",1," + Number(step) + "," +
         Number(origin) + ",0," + Number(d_step) + ",0," +
         QByteArray::number(static_cast<qlonglong>(d_zero_code)) + "\n";
}

QByteArray TFakeScope::Codes(int Channel)
{
  Acquire(Channel);
  d_sent.insert(Channel);
  const long top = d_options.Word ? 32767 : 127;
  QByteArray bytes;
  for (long i = 0; i < d_options.Points; ++i) {
    const double t = static_cast<double>(d_start + i) / d_options.Rate;
    const double angle = TwoPi * d_options.Speed * t;
    const double volts = Channel <= 2 ? d_signals[Channel - 1].Value(angle) : 0.0;
    const long code = std::clamp(std::lround(volts / d_step), -top - 1, top) + d_zero_code;
    if (!d_options.Word)
      bytes += static_cast<char>(code & 0xff);
    else if (d_options.Curve)  // high byte first
      bytes.append(static_cast<char>(code >> 8 & 0xff)).append(static_cast<char>(code & 0xff));
    else
      bytes.append(static_cast<char>(code & 0xff)).append(static_cast<char>(code >> 8 & 0xff));
  }
  return bytes;
}
