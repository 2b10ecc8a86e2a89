#ifndef GRAPHAXIS_H
#define GRAPHAXIS_H

#include <QString>
#include <vector>

// Field width and decimals of the numeric tick labels of one axis.
struct TLabelFormat
{
  int Width;
  int Decimals;
};

// Chooses the label format from the largest magnitude shown on the axis
// and the span it shows. Decimals fall by one per power of e of the span
// and the width grows with the decimal digits of the magnitude. Total:
// NaN or infinite inputs still give a small, well-defined format.
TLabelFormat ChooseLabelFormat(double Magnitude, double Span);

// The printf format of the labels, "% W.Dlf": a blank before positive
// numbers, a minus sign before negative ones.
QString LabelFormatText(const TLabelFormat &Format);

// The text measured as one label's size: 0.0 zero-padded to the full
// width, followed by TrailingBlanks blanks that keep labels apart.
QString LabelSampleText(const TLabelFormat &Format, int TrailingBlanks);

// Tick positions along an axis whose first pixel is First and which is
// Extent pixels long, at most one tick per Step pixels. The ticks run
// from First to First + Extent inclusive, evenly and truncated to whole
// pixels. Fewer than two ticks (or a Step below 1) give none at all.
std::vector<int> TickPositions(int First, int Extent, int Step);

// A tick label: Value formatted with Format under C printf rules, the
// same in every locale.
QString TickLabel(const QString &Format, double Value);

#endif
