#include "scpilink.h"

#include <algorithm>
#include <cmath>

#include "scpiblock.h"

TScpiLink::TScpiLink(const std::string &TimeoutText, double TimeoutSeconds)
    : d_timeout_text(TimeoutText),
      d_timeout_ms(static_cast<int>(std::min(std::ceil(TimeoutSeconds * 1000.0), 2e9)))
{}

void TScpiLink::StartDeadline()
{
  d_deadline.setRemainingTime(d_timeout_ms);
}

bool TScpiLink::Connected() const
{
  return d_socket.state() == QAbstractSocket::ConnectedState;
}

bool TScpiLink::Connect(const std::string &Host, int Port, std::string &Problem)
{
  d_buffer.clear();
  d_socket.connectToHost(QString::fromStdString(Host), static_cast<quint16>(Port));
  if (d_socket.waitForConnected(static_cast<int>(d_deadline.remainingTime()))) {
    // Commands that get no answer must not wait for the instrument's
    // delayed acknowledgement (about 40 ms each) before the next goes out.
    d_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
  }
  if (d_socket.error() == QAbstractSocket::ConnectionRefusedError)
    Problem = "connection refused";
  else if (d_socket.error() == QAbstractSocket::SocketTimeoutError)
    Problem = "no connection within " + d_timeout_text + " s";
  else
    Problem = "cannot connect: " + d_socket.errorString().toStdString();
  d_socket.abort();
  return false;
}

void TScpiLink::Abort()
{
  d_socket.abort();
  d_buffer.clear();
}

bool TScpiLink::Send(const std::string &Command, std::string &Problem)
{
  const QByteArray line = QByteArray::fromStdString(Command + "\n");
  if (d_socket.write(line) == line.size()) {
    while (d_socket.bytesToWrite() > 0)
      if (!d_socket.waitForBytesWritten(static_cast<int>(d_deadline.remainingTime())))
        break;
    if (d_socket.bytesToWrite() == 0)
      return true;
  }
  Problem = "cannot send '" + Command + "': " + d_socket.errorString().toStdString();
  return false;
}

TScpiLink::TWait TScpiLink::More()
{
  // Bytes that came before a hang-up can still be read.
  if (d_socket.bytesAvailable() == 0 && Connected() &&
      !d_socket.waitForReadyRead(static_cast<int>(d_deadline.remainingTime())) &&
      d_socket.error() == QAbstractSocket::SocketTimeoutError)
    return TWait::TimedOut;
  const QByteArray bytes = d_socket.readAll();
  if (bytes.isEmpty())
    return Connected() ? TWait::TimedOut : TWait::Closed;
  d_buffer += bytes;
  return TWait::Got;
}

bool TScpiLink::Failed(TWait Wait, const std::string &Command, std::string &Problem) const
{
  if (Wait == TWait::TimedOut)
    Problem = "no answer to '" + Command + "' within " + d_timeout_text + " s";
  else
    Problem = "the instrument closed the connection before it answered '" + Command + "'";
  return false;
}

bool TScpiLink::Query(const std::string &Command, std::string &Reply, std::string &Problem)
{
  if (!Send(Command, Problem))
    return false;
  int end;
  while ((end = d_buffer.indexOf('\n')) < 0)
    if (const TWait wait = More(); wait != TWait::Got)
      return Failed(wait, Command, Problem);
  Reply.assign(d_buffer.constData(), static_cast<std::size_t>(end));
  d_buffer.remove(0, end + 1);
  if (!Reply.empty() && Reply.back() == '\r')
    Reply.pop_back();
  return true;
}

bool TScpiLink::QueryBlock(const std::string &Command, std::string &Data, std::string &Problem)
{
  if (!Send(Command, Problem))
    return false;
  TBlockHeader header;
  while ((header = ReadBlockHeader(d_buffer.constData(), static_cast<std::size_t>(d_buffer.size())))
             .State == THeaderState::Incomplete)
    if (const TWait wait = More(); wait != TWait::Got)
      return Failed(wait, Command, Problem);
  if (header.State == THeaderState::Malformed) {
    Problem = header.Problem;
    return false;
  }
  // The data, then the line end: \n, or \r\n.
  const std::size_t data_end = header.Size + header.Length;
  const auto received = [&] { return static_cast<std::size_t>(d_buffer.size()); };
  while (received() < data_end + 1 ||
         (d_buffer[static_cast<int>(data_end)] == '\r' && received() < data_end + 2)) {
    const TWait wait = More();
    if (wait == TWait::TimedOut)
      return Failed(wait, Command, Problem);
    if (wait == TWait::Closed) {
      const std::size_t got = std::min(received() - header.Size, header.Length);
      Problem = "the instrument closed the connection after " + std::to_string(got) + " of " +
                std::to_string(header.Length) + " bytes of the block";
      return false;
    }
  }
  const std::size_t line_end =
      d_buffer[static_cast<int>(data_end)] == '\r' ? data_end + 1 : data_end;
  if (d_buffer[static_cast<int>(line_end)] != '\n') {
    Problem = "malformed block: no line end after its " + std::to_string(header.Length) +
              " bytes, got '" +
              Shortened(d_buffer.mid(static_cast<int>(data_end), 1).toStdString()) + "'";
    return false;
  }
  Data.assign(d_buffer.constData() + header.Size, header.Length);
  d_buffer.remove(0, static_cast<int>(line_end + 1));
  return true;
}
