#include "outputfile.h"

#include <QFileInfo>
#include <QSaveFile>

TOutputFile::TOutputFile(const QString &Path)
{
  const QFileInfo info(Path);
  if (info.exists() && !info.isFile() && !info.isDir())
    d_device = std::make_unique<QFile>(Path);
  else
    d_device = std::make_unique<QSaveFile>(Path);
}

QString TOutputFile::Open()
{
  if (d_device->open(QIODevice::WriteOnly))
    return QString();
  return QString("cannot write %1: %2").arg(d_device->fileName(), d_device->errorString());
}

QString TOutputFile::Commit()
{
  auto *save = dynamic_cast<QSaveFile *>(d_device.get());
  if (!save || save->commit())
    return QString();
  return QString("cannot write %1: %2").arg(save->fileName(), save->errorString());
}
