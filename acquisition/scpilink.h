#ifndef SCPILINK_H
#define SCPILINK_H

#include <QByteArray>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <string>

// A raw TCP connection to an instrument, used blocking in the caller's
// thread: commands end with a line feed, replies are a line or a
// definite-length block. Each call waits at most until the deadline that
// StartDeadline set; its Problem does not yet name the source.
class TScpiLink
{
public:
  // Timeout is the setting's text, for messages, and its seconds.
  TScpiLink(const std::string &TimeoutText, double TimeoutSeconds);

  void StartDeadline();
  bool Connected() const;
  bool Connect(const std::string &Host, int Port, std::string &Problem);
  // Drops what a failed exchange left half-read; the next one reconnects.
  void Abort();

  bool Send(const std::string &Command, std::string &Problem);
  // The reply line, line end taken off.
  bool Query(const std::string &Command, std::string &Reply, std::string &Problem);
  // The block's data, exactly its stated length, its line end read too.
  bool QueryBlock(const std::string &Command, std::string &Data, std::string &Problem);

private:
  enum class TWait
  {
    Got,
    Closed,
    TimedOut,
  };
  // Adds to d_buffer what has come, waiting for at least one byte.
  TWait More();
  bool Failed(TWait Wait, const std::string &Command, std::string &Problem) const;

  std::string d_timeout_text;
  int d_timeout_ms;
  QDeadlineTimer d_deadline;
  QTcpSocket d_socket;
  QByteArray d_buffer;
};

#endif
