#include "outputtransaction.h"

#include <QFileInfo>
#include <QSaveFile>

#include "checkedwriter.h"
#include "messages.h"

TOutputTransaction::TOutputTransaction(QIODevice &StandardOutput)
    : d_standard_output(StandardOutput)
{}

TOutputTransaction::~TOutputTransaction()
{
  Rollback();
}

void TOutputTransaction::OpenText(const QString &Path)
{
  if (!Path.isEmpty())
    d_text = Open(Path);
}

QIODevice *TOutputTransaction::OpenFile(const QString &Path)
{
  TFile *file = Path.isEmpty() ? nullptr : Open(Path);
  return file ? file->Writer.get() : nullptr;
}

TOutputTransaction::TFile *TOutputTransaction::Open(const QString &Path)
{
  if (Failed())
    return nullptr;
  auto file = std::make_unique<TFile>();
  file->Path = Path;
  const QFileInfo info(Path);
  if (info.exists() && !info.isFile() && !info.isDir())
    file->Device = std::make_unique<QFile>(Path);
  else
    file->Device = std::make_unique<QSaveFile>(Path);
  if (!file->Device->open(QIODevice::WriteOnly)) {
    Fail(Path, file->Device->errorString());
    return nullptr;
  }
  file->Writer = std::make_unique<TCheckedWriter>(*file->Device);
  d_files.push_back(std::move(file));
  return d_files.back().get();
}

QString TOutputTransaction::Fail(const QString &Path, const QString &Reason)
{
  if (!Failed())
    d_problem = CannotWrite(Path, Reason);
  Rollback();
  return d_problem;
}

QString TOutputTransaction::Commit(const std::function<void(QIODevice &)> &WriteText)
{
  if (Failed())
    return d_problem;
  const bool text_to_file = d_text != nullptr;
  if (text_to_file)
    WriteText(*d_text->Writer);
  // Every file is complete and flushed before the first is renamed, so a
  // full disk leaves every target as it was.
  for (const auto &file : d_files) {
    const QString reason = file->Writer->Finish();
    if (!reason.isEmpty())
      return Fail(file->Path, reason);
  }
  for (auto &file : d_files) {
    auto *save = qobject_cast<QSaveFile *>(file->Device.get());
    bool done = true;
    if (save) {
      done = save->commit();
    } else {
      file->Device->close();
      done = file->Device->error() == QFileDevice::NoError;
    }
    if (!done)
      return Fail(file->Path, file->Device->errorString());
    file->Writer.reset();
    file->Device.reset();
  }
  d_files.clear();
  d_text = nullptr;
  if (text_to_file)
    return QString();
  TCheckedWriter out(d_standard_output);
  WriteText(out);
  const QString reason = out.Finish();
  if (!reason.isEmpty())
    d_problem = CannotWrite("standard output", reason);
  return d_problem;
}

void TOutputTransaction::Rollback()
{
  // A QSaveFile destroyed uncommitted removes its file beside the target.
  for (auto &file : d_files) {
    if (auto *save = qobject_cast<QSaveFile *>(file->Device.get()))
      save->cancelWriting();
    file->Writer.reset();
    file->Device.reset();
  }
  d_files.clear();
  d_text = nullptr;
}
