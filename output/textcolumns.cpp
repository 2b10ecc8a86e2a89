#include "textcolumns.h"

#include "numbertext.h"

namespace {

const int ColumnWidth = 13;
const int Indent = 2;

}  // namespace

QString Column(const QString &Text)
{
  return ' ' + Text.rightJustified(ColumnWidth - 1);
}

QString Num(double Value)
{
  return Column(Figure(Value));
}

QString FirstCapital(QString Text)
{
  if (!Text.isEmpty())
    Text[0] = Text[0].toUpper();
  return Text;
}

QString Line(const QString &Label, const QString &Value, int LabelWidth)
{
  return QString(Indent, ' ') + Label.leftJustified(LabelWidth) + Value + '\n';
}

QString Heading(const QString &Title, const QStringList &Columns, int LabelWidth)
{
  QString text = Title.leftJustified(Indent + LabelWidth);
  for (const QString &column : Columns)
    text += column.rightJustified(ColumnWidth);
  return text + '\n';
}
