#ifndef TEXTCOLUMNS_H
#define TEXTCOLUMNS_H

#include <QString>
#include <QStringList>

// The fixed-width layout of the report's human-readable blocks: labels
// padded to a width of their own block, values in columns 13 wide.

// Text right-aligned in its column, after at least one space.
QString Column(const QString &Text);
// A number in its column: six significant digits.
QString Num(double Value);
// A message as a sentence: "cannot read ..." as vantrel-report says it
// becomes "Cannot read ..." in the window and the protocol.
QString FirstCapital(QString Text);
// A whole number in its column.
template <typename TWhole>
QString Whole(TWhole Value)
{
  return Column(QString::number(Value));
}
// "  Label" padded to LabelWidth, then Value and a line break.
QString Line(const QString &Label, const QString &Value, int LabelWidth);
// A section title as wide as a block's labels, over right-aligned column
// titles as wide as the values below them.
QString Heading(const QString &Title, const QStringList &Columns, int LabelWidth);

#endif
