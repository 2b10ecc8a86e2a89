#ifndef PDFTEXT_H
#define PDFTEXT_H

#include <gtest/gtest.h>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// The text pdftotext reads from Path, ligatures spelled out; empty
// without pdftotext.
inline QString PdfText(const QString &Path)
{
  QProcess process;
  process.start("pdftotext", {"-layout", Path, "-"});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput())
      .normalized(QString::NormalizationForm_KC);
}

inline bool HasPdfToText()
{
  return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

inline void ExpectLines(const QString &Text, const QStringList &Patterns)
{
  for (const QString &pattern : Patterns)
    EXPECT_TRUE(
        QRegularExpression(pattern, QRegularExpression::MultilineOption).match(Text).hasMatch())
        << qPrintable(pattern) << "\n"
        << qPrintable(Text);
}

#endif
