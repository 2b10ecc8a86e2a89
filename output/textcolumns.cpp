#include "textcolumns.h"

namespace {

const int ColumnWidth = 13;
const int Indent = 2;

}  // namespace

QString Num(double Value)
{
  return QString::asprintf(" %12.6g", Value);
}

QString Line(const char *Label, const QString &Value, int LabelWidth)
{
  return QString(Indent, ' ') + QString(Label).leftJustified(LabelWidth) + Value + '\n';
}

QString Heading(const QString &Title, const QStringList &Columns, int LabelWidth)
{
  QString text = Title.leftJustified(Indent + LabelWidth);
  for (const QString &column : Columns)
    text += column.rightJustified(ColumnWidth);
  return text + '\n';
}
