#include "protocol.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <charconv>

#include "graphwidget.h"
#include "plotfile.h"

namespace {

const int DotsPerInch = 300;
// The graphs are laid out as the plot files are, at the screen's 96 dots
// per inch, and scaled onto the page.
const int GraphDotsPerInch = 96;
const char *const Family = "Sans Serif";
const char *const FixedFamily = "Monospace";

QFont Font(int Points, bool Bold = false, const char *FontFamily = Family)
{
  QFont font(FontFamily, Points);
  font.setBold(Bold);
  return font;
}

// Lays blocks down the page from the top and starts a new page for a
// block that does not fit.
class TPageFlow
{
public:
  TPageFlow(QPdfWriter &Writer, QPainter &Painter)
      : d_writer(Writer), d_painter(Painter), d_width(Writer.width()), d_height(Writer.height())
  {}

  void NewPage()
  {
    if (d_y == 0)
      return;
    d_writer.newPage();
    d_y = 0;
  }

  void Space(double Lines = 0.6) { d_y += static_cast<int>(Lines * LineHeight(Font(10))); }

  void Text(const QString &Text, const QFont &Font, int Flags = Qt::TextWordWrap)
  {
    d_painter.setFont(Font);
    const QRect bounds = d_painter.boundingRect(QRect(0, 0, d_width, d_height), Flags, Text);
    Need(bounds.height());
    d_painter.drawText(QRect(0, d_y, d_width, bounds.height()), Flags, Text);
    d_y += bounds.height();
  }

  void Table(const TProtocolTable &Table)
  {
    const QFont body = Font(9), bold = Font(9, true);
    const int row = LineHeight(body) * 13 / 10;
    Need(LineHeight(Font(11)) + row * std::min<int>(3, Table.Rows.size() + 1));
    Space();
    Text(Table.Heading, Font(11, true));
    int label = 0;
    for (const QStringList &cells : Table.Rows)
      if (cells.size() > 1)
        label = std::max(label, QFontMetrics(body, &d_writer).horizontalAdvance(cells[0]));
    label = std::min(label + d_width / 20, d_width / 2);
    const int columns = Table.Columns.size();
    Row(Table.Columns, bold, row, label, columns);
    Rule();
    for (const QStringList &cells : Table.Rows)
      Row(cells, body, row, label, columns);
    Rule();
  }

  void Graph(const TProtocolGraph &Graph, int Height)
  {
    Need(Height + LineHeight(Font(10)) * 2);
    Space();
    Text(Graph.Caption, Font(10, true));
    // Drawn as the plot files draw it, then placed on the page as vector
    // graphics.
    const double scale = static_cast<double>(DotsPerInch) / GraphDotsPerInch;
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    WritePlot(*Graph.Graph, TPlotFormat::Svg, QSize(d_width / scale, Height / scale), svg);
    QSvgRenderer(svg.data()).render(&d_painter, QRectF(0, d_y, d_width, Height));
    d_y += Height;
  }

  int Width() const { return d_width; }

private:
  int LineHeight(const QFont &Font) const { return QFontMetrics(Font, &d_writer).lineSpacing(); }

  void Need(int Height)
  {
    if (d_y + Height > d_height)
      NewPage();
  }

  // The label column fits the widest label, the other columns share the rest.
  void Row(const QStringList &Cells, const QFont &Font, int Height, int Label, int Columns)
  {
    Need(Height);
    d_painter.setFont(Font);
    const int label = Cells.size() == 1 ? d_width : Label;
    const int others = std::max(1, Columns - 1);
    const int column = (d_width - label) / others;
    for (int i = 0; i < Cells.size(); ++i) {
      const QRect cell = i == 0
                             ? QRect(0, d_y, label, Height)
                             : QRect(label + (i - 1) * column, d_y, column - column / 20, Height);
      d_painter.drawText(cell, Qt::AlignVCenter | (i == 0 ? Qt::AlignLeft : Qt::AlignRight),
                         Cells[i]);
    }
    d_y += Height;
  }

  void Rule()
  {
    d_painter.drawLine(0, d_y, d_width, d_y);
    d_y += 4;
  }

  QPdfWriter &d_writer;
  QPainter &d_painter;
  const int d_width, d_height;
  int d_y = 0;
};

void Lay(QPdfWriter &Writer, const TProtocol &P)
{
  QPainter painter(&Writer);
  TPageFlow flow(Writer, painter);
  flow.Text(P.Title, Font(16, true));
  flow.Space();
  QString source = "Source: " + P.Source;
  if (!P.Sha256.isEmpty())
    source += "\nSHA-256: " + P.Sha256;
  if (!P.Instrument.isEmpty())
    source += "\nInstrument: " + P.Instrument;
  flow.Text(source, Font(10), Qt::TextWrapAnywhere);
  flow.Text(QString("Date: %1\nProgram: vantrel-report %2")
                .arg(P.Date.toString("yyyy-MM-dd HH:mm:ss 'UTC'"), P.Version),
            Font(10));
  flow.Space();
  flow.Text("Reproduced by", Font(10, true));
  flow.Text(P.Command, Font(8, false, FixedFamily), Qt::TextWrapAnywhere);
  for (const TProtocolTable &table : P.Figures)
    flow.Table(table);
  if (P.Verdict.isEmpty()) {
    flow.Space();
    flow.Text("Limits: none given, nothing judged.", Font(10));
  } else {
    flow.Table(P.Checks);
    flow.Space();
    flow.Text("Overall verdict: " + P.Verdict, Font(12, true));
  }

  flow.NewPage();
  const int height = flow.Width() * 2 / 5;
  for (const TProtocolGraph &graph : P.Graphs)
    flow.Graph(graph, height);

  flow.NewPage();
  flow.Table(P.Harmonics);
  flow.Table(P.Coefficients);
  if (P.CorrectionTable)
    flow.Table(*P.CorrectionTable);
  if (!P.Warnings.isEmpty()) {
    flow.Space();
    flow.Text("Warnings", Font(11, true));
    flow.Text(P.Warnings.join('\n'), Font(9));
  }
}

// Sets Qt's hash seed to 0 while it lives; hashes made before keep theirs.
class TFixedHashSeed
{
public:
  TFixedHashSeed() : d_seed(qGlobalQHashSeed()) { qSetGlobalQHashSeed(0); }
  ~TFixedHashSeed()
  {
    if (d_seed != 0)
      qSetGlobalQHashSeed(-1);
  }
  TFixedHashSeed(const TFixedHashSeed &) = delete;
  TFixedHashSeed &operator=(const TFixedHashSeed &) = delete;

private:
  const int d_seed;
};

}  // namespace

QDateTime ProtocolDate()
{
  const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
  long long seconds = 0;
  const char *end = epoch.constData() + epoch.size();
  const auto read = std::from_chars(epoch.constData(), end, seconds);
  if (!epoch.isEmpty() && read.ec == std::errc() && read.ptr == end)
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
  return QDateTime::currentDateTimeUtc();
}

bool WriteProtocol(QIODevice &Device, const TProtocol &Protocol)
{
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    // The writer keeps its fonts in a hash and writes them in its order:
    // a fixed seed for this hash makes the order, and the file, the same
    // in every run.
    const TFixedHashSeed seed;
    QPdfWriter writer(&buffer);
    writer.setResolution(DotsPerInch);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    writer.setTitle(Protocol.Title);
    writer.setCreator("vantrel-report " + Protocol.Version);
    Lay(writer, Protocol);
  }
  QByteArray bytes = buffer.data();
  // Qt stamps the file with the time of writing; the protocol's own date
  // takes its place, the same length, so that SOURCE_DATE_EPOCH makes two
  // runs byte for byte the same.
  const QByteArray stamp = "/CreationDate (D:";
  const int at = bytes.indexOf(stamp);
  if (at >= 0)
    bytes.replace(at + stamp.size(), 14, Protocol.Date.toString("yyyyMMddHHmmss").toLatin1());
  return Device.write(bytes) == bytes.size();
}
