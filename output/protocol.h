#ifndef PROTOCOL_H
#define PROTOCOL_H

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QIODevice;
class TGraphWidget;

// Rows of text under a heading; the first column is the label.
struct TProtocolTable
{
  QString Heading;
  QStringList Columns;
  std::vector<QStringList> Rows;
};

struct TProtocolGraph
{
  QString Caption;
  TGraphWidget *Graph = nullptr;
};

// One measurement's or simulation's record on paper: where its signals
// came from and how to get them again, what was fitted, how the limits
// judged it and its graphs. Plain data: the builders fill it, WriteProtocol
// lays it out.
struct TProtocol
{
  QString Title;
  // "Capture file x.csv", "Simulation", "Acquisition scpi://..."
  QString Source;
  // Hex SHA-256 of a file's bytes, or the instrument as it names itself;
  // empty when there is none.
  QString Sha256;
  QString Instrument;
  QDateTime Date;
  QString Version;
  // The command line that reproduces the figures.
  QString Command;
  // Fitted or set parameters, with their uncertainties where known.
  std::vector<TProtocolTable> Figures;
  // The limit checks; no rows without limits, and Verdict empty then.
  TProtocolTable Checks;
  QString Verdict;
  TProtocolTable Harmonics;
  TProtocolTable Coefficients;
  // The summary of a correction table, once the run makes one.
  std::optional<TProtocolTable> CorrectionTable;
  // Lines the reader must not miss.
  QStringList Warnings;
  std::vector<TProtocolGraph> Graphs;
};

// The date a protocol prints: SOURCE_DATE_EPOCH when set, so that two
// runs give the same file, else now; in UTC.
QDateTime ProtocolDate();

// Writes Protocol as an A4 PDF of at most three pages, the graphs as
// vector drawings. False when the device refuses the data.
bool WriteProtocol(QIODevice &Device, const TProtocol &Protocol);

#endif
