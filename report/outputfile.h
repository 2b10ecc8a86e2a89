#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <QFileDevice>
#include <QString>
#include <memory>

// An output file of the report. A regular file is written beside its path
// and renamed over it by Commit(), so an error leaves the path as it was;
// a device or a pipe such as /dev/null is written in place, since renaming
// over it would replace the device with a file.
class TOutputFile
{
public:
  explicit TOutputFile(const QString &Path);

  // Empty when open, else the message naming the path.
  QString Open();
  QFileDevice &Device() { return *d_device; }
  // Empty when the file is in place, else the message naming the path.
  // A file never committed leaves its path untouched.
  QString Commit();

private:
  std::unique_ptr<QFileDevice> d_device;
};

#endif
