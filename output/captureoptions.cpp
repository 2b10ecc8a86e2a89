#include "captureoptions.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cmath>

#include "numbertext.h"
#include "optionmessages.h"
#include "optionnumber.h"

const TCaptureOptionText CaptureOptionTexts[5] = {
    {"columns", "A,B",
     "The capture's columns of channels A and B, 1-based or by their header names (default 1,2 "
     "for two columns, 2,3 for three)."},
    {"time-column", "N|NAME",
     "The capture's column of the samples' times in seconds or as clock times, 1-based or by "
     "its header name (default: the first column, when it holds no channel and rises through "
     "the file)."},
    {"skip-bad-rows", "",
     "Skip and count capture rows after the header that are not numbers, instead of refusing "
     "the capture."},
    {"decimal-comma", "",
     "The capture's numbers use a decimal comma, and no comma separates its columns (between "
     "semicolons, tabs or blanks a decimal comma is read anyway)."},
    {"zero", "V|VA,VB",
     "The interpolator's reference level, subtracted from both channels (or VA from A, VB from "
     "B) before anything else: 2.5 for signals on a 2.5 V reference, 2048 for 12-bit unsigned "
     "counts (default 0)."},
};

namespace {

// A column by its number, or by its header name, quotes around it dropped.
bool ReadColumn(QString Text, int &Number, std::string &Name)
{
  Text = Text.trimmed();
  if (ParseOptionNumber(Text, Number))
    return Number >= 1 && Number <= MaximumColumn;
  for (const char *quote : {"\"", "'"})
    if (Text.size() >= 2 && Text.startsWith(quote) && Text.endsWith(quote))
      Text = Text.mid(1, Text.size() - 2).trimmed();
  Number = 0;
  Name = Text.toStdString();
  return !Text.isEmpty() && !Text[0].isDigit();
}

QString ReadColumns(const QString &Text, TCaptureColumns &Columns)
{
  const QStringList parts = Text.split(',');
  if (parts.size() != 2 || !ReadColumn(parts[0], Columns.A, Columns.NameA) ||
      !ReadColumn(parts[1], Columns.B, Columns.NameB) ||
      (Columns.A != 0 && Columns.A == Columns.B) ||
      (!Columns.NameA.empty() &&
       QString::fromStdString(Columns.NameA)
               .compare(QString::fromStdString(Columns.NameB), Qt::CaseInsensitive) == 0))
    return QString(
               "--columns needs two different columns A,B, numbers from 1 to %1 or header "
               "names, not '%2'")
        .arg(MaximumColumn)
        .arg(Text);
  return QString();
}

QString ReadTimeColumn(const QString &Text, TCaptureReadOptions &Read)
{
  if (!ReadColumn(Text, Read.TimeColumn, Read.TimeName))
    return QString("--time-column needs a column, a number from 1 to %1 or a header name, not '%2'")
        .arg(MaximumColumn)
        .arg(Text);
  return QString();
}

// One level for both channels, or one each.
QString ReadZero(const QString &Text, double (&Zero)[2])
{
  const QStringList parts = Text.split(',');
  bool ok = parts.size() == 1 || parts.size() == 2;
  for (int c = 0; ok && c < 2; ++c)
    ok = ParseOptionNumber(parts[std::min(c, static_cast<int>(parts.size()) - 1)], Zero[c]) &&
         std::isfinite(Zero[c]);
  if (!ok)
    return QString("--zero needs the reference level V, or VA,VB for each channel, not '%1'")
        .arg(Text);
  return QString();
}

}  // namespace

bool operator==(const TCaptureOptions &X, const TCaptureOptions &Y)
{
  return X.Read.Columns.A == Y.Read.Columns.A && X.Read.Columns.B == Y.Read.Columns.B &&
         X.Read.Columns.NameA == Y.Read.Columns.NameA &&
         X.Read.Columns.NameB == Y.Read.Columns.NameB && X.Read.SkipBadRows == Y.Read.SkipBadRows &&
         X.Read.DecimalComma == Y.Read.DecimalComma && X.Read.TimeColumn == Y.Read.TimeColumn &&
         X.Read.TimeName == Y.Read.TimeName && X.Zero[0] == Y.Zero[0] && X.Zero[1] == Y.Zero[1];
}

void AddCaptureOptions(QCommandLineParser &Parser)
{
  for (const TCaptureOptionText &option : CaptureOptionTexts)
    Parser.addOption(QCommandLineOption(option.Name, option.Help, option.ValueName));
}

QString ReadCaptureOptions(const QCommandLineParser &Parser, TCaptureOptions &Options)
{
  const QStringList given = Parser.optionNames();
  for (const TCaptureOptionText &option : CaptureOptionTexts)
    if (given.count(option.Name) > 1)
      return GivenTwiceMessage(option.Name);
  TCaptureOptions read;
  if (Parser.isSet("columns")) {
    QString message = ReadColumns(Parser.value("columns"), read.Read.Columns);
    if (!message.isEmpty())
      return message;
  }
  if (Parser.isSet("time-column")) {
    QString message = ReadTimeColumn(Parser.value("time-column"), read.Read);
    if (!message.isEmpty())
      return message;
  }
  read.Read.SkipBadRows = Parser.isSet("skip-bad-rows");
  read.Read.DecimalComma = Parser.isSet("decimal-comma");
  if (Parser.isSet("zero")) {
    QString message = ReadZero(Parser.value("zero"), read.Zero);
    if (!message.isEmpty())
      return message;
  }
  Options = read;
  return QString();
}

QString ParseCaptureOptions(const QStringList &Arguments, TCaptureOptions &Options)
{
  QCommandLineParser parser;
  AddCaptureOptions(parser);
  // The first argument stands for the program's name, which is not read.
  if (!parser.parse(QStringList("-") + Arguments))
    return parser.errorText();
  if (!parser.positionalArguments().isEmpty())
    return UnexpectedArgumentMessage(parser.positionalArguments().first());
  return ReadCaptureOptions(parser, Options);
}

QStringList CaptureOptionArguments(const TCaptureOptions &Options)
{
  QStringList arguments;
  const TCaptureColumns &columns = Options.Read.Columns;
  const auto column = [](int Number, const std::string &Name) {
    return Name.empty() ? QString::number(Number) : QString::fromStdString(Name);
  };
  if (columns.A != 0 || columns.B != 0 || !columns.NameA.empty() || !columns.NameB.empty())
    arguments << "--columns"
              << column(columns.A, columns.NameA) + "," + column(columns.B, columns.NameB);
  if (Options.Read.TimeColumn != 0 || !Options.Read.TimeName.empty())
    arguments << "--time-column" << column(Options.Read.TimeColumn, Options.Read.TimeName);
  if (Options.Read.SkipBadRows)
    arguments << "--skip-bad-rows";
  if (Options.Read.DecimalComma)
    arguments << "--decimal-comma";
  const double a = Options.Zero[0], b = Options.Zero[1];
  if (a != b)
    arguments << "--zero" << ShortestText(a) + "," + ShortestText(b);
  else if (a != 0.0)
    arguments << "--zero" << ShortestText(a);
  return arguments;
}
