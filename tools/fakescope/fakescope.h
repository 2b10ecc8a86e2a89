#ifndef FAKESCOPE_H
#define FAKESCOPE_H

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <set>

#include "encodersetup.h"
#include "signalchain.h"

// What the simulated instrument is and how badly it behaves.
struct TFakeScopeOptions
{
  bool Curve = false;  // the CURVE? family's commands, else :WAV:
  bool Word = true;    // 16-bit codes, else 8-bit, whatever is asked for
  long Points = 10000;
  double Rate = 1e6;   // samples per second
  double Speed = 1e3;  // signal periods per second
  // Channel 1 is A, channel 2 B; 3 and 4 stay at 0 V.
  TEncoderSetup Setup;
  int Pieces = 0;  // bytes per write; 0: whole replies
  int Delay = 0;   // ms before each piece
  int Late = 0;    // ms before the data query's answer
  bool MalformedPreamble = false;
  bool MalformedBlock = false;
  long HangUp = -1;  // data bytes of the next block sent before hanging up; -1: never
};

// An oscilloscope on a TCP port that answers the SCPI queries a frame
// source sends, one client at a time, with the model's signals. Each
// acquisition follows the previous one in time.
class TFakeScope : public QObject
{
public:
  explicit TFakeScope(const TFakeScopeOptions &Options);

  // Port 0 picks a free one; false if none could be had.
  bool Listen(quint16 Port);
  quint16 Port() const;

private:
  void Accept();
  void Read();
  void Answer(const QByteArray &Command);
  void Reply(const QByteArray &Bytes);
  // Starts the next acquisition once Channel's data of this one was sent.
  void Acquire(int Channel);
  QByteArray Preamble();
  QByteArray Codes(int Channel);

  TFakeScopeOptions d_options;
  QTcpServer d_server;
  QPointer<QTcpSocket> d_client;
  QByteArray d_received;
  int d_channel = 1;
  long d_start = 0;  // the acquisition's first sample
  std::set<int> d_sent;
  TSignalChannel d_signals[2];
  // Volts per code, and the code of 0 V.
  double d_step;
  long d_zero_code;
};

#endif
