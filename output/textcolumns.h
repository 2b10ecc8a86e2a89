#ifndef TEXTCOLUMNS_H
#define TEXTCOLUMNS_H

#include <QString>
#include <QStringList>

// The fixed-width layout of the report's human-readable blocks: labels
// padded to a width of their own block, numbers in columns 13 wide.

// A number in its column: six significant digits, right-aligned.
QString Num(double Value);
// "  Label" padded to LabelWidth, then Value and a line break.
QString Line(const char *Label, const QString &Value, int LabelWidth);
// A section title as wide as a block's labels, over right-aligned column
// titles as wide as the numbers below them.
QString Heading(const QString &Title, const QStringList &Columns, int LabelWidth);

#endif
