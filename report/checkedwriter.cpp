#include "checkedwriter.h"

#include <QFileDevice>
#include <cerrno>
#include <cstring>

TCheckedWriter::TCheckedWriter(QIODevice &Target) : d_target(Target)
{
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

QString TCheckedWriter::Finish()
{
  auto *file = qobject_cast<QFileDevice *>(&d_target);
  if (!Failed() && file && (!file->flush() || file->error() != QFileDevice::NoError))
    Fail();
  return d_reason;
}

qint64 TCheckedWriter::readData(char *, qint64)
{
  return -1;
}

qint64 TCheckedWriter::writeData(const char *Data, qint64 Size)
{
  // Bytes after a failure are dropped, yet taken as written: an image
  // encoder told of a failed write prints its own complaint to standard
  // error, and the one line for the failure comes from Finish().
  if (Failed())
    return Size;
  errno = 0;
  if (d_target.write(Data, Size) != Size)
    Fail();
  return Size;
}

void TCheckedWriter::Fail()
{
  // A write cut short sets no error on the device; errno still tells why.
  const int error = errno;
  auto *file = qobject_cast<QFileDevice *>(&d_target);
  if (file && file->error() != QFileDevice::NoError)
    d_reason = file->errorString();
  else if (error != 0)
    d_reason = QString::fromLocal8Bit(std::strerror(error));
  else
    d_reason = d_target.errorString();
  if (d_reason.isEmpty())
    d_reason = "write failed";
}
