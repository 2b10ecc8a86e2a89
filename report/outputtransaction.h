#ifndef OUTPUTTRANSACTION_H
#define OUTPUTTRANSACTION_H

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QFileDevice;
class QIODevice;
class TCheckedWriter;

// Every output of one run: the text (to --output's file or to standard
// output) and the plots. All are opened before the work starts, so an
// unwritable path fails at once; all are put in place together at the
// end, or none is. A regular file is written beside its path and renamed
// over it; a device or a pipe (/dev/null, a FIFO) is written in place,
// since renaming over it would replace it with a plain file.
class TOutputTransaction
{
public:
  explicit TOutputTransaction(QIODevice &StandardOutput);
  ~TOutputTransaction();
  TOutputTransaction(const TOutputTransaction &) = delete;
  TOutputTransaction &operator=(const TOutputTransaction &) = delete;

  // The text's file, or standard output for an empty Path.
  void OpenText(const QString &Path);
  // A plot's file; null for an empty Path or after a failure.
  QIODevice *OpenFile(const QString &Path);
  bool Failed() const { return !d_problem.isEmpty(); }
  // The problem line of the first failure.
  const QString &Problem() const { return d_problem; }

  // Writes the text to its file, puts every file in place and only then
  // writes the text to standard output. Empty on success, else the problem
  // line; after a failure no file has changed (save what a device or pipe
  // or standard output had already taken).
  QString Commit(const std::function<void(QIODevice &)> &WriteText);
  // Discards every file not yet in place.
  void Rollback();

private:
  struct TFile
  {
    QString Path;
    std::unique_ptr<QFileDevice> Device;
    std::unique_ptr<TCheckedWriter> Writer;
  };
  TFile *Open(const QString &Path);
  QString Fail(const QString &Path, const QString &Reason);

  QIODevice &d_standard_output;
  std::vector<std::unique_ptr<TFile>> d_files;
  TFile *d_text = nullptr;
  QString d_problem;
};

#endif
