#include "graphwidget.h"

#include <QFontMetrics>
#include <QPainter>
#include <cassert>

#include "graphview.h"

namespace {

// The fit never shows less than this vertically unless told otherwise.
const double DefaultMinimumYExtent = 5e-6;
// What a non-positive SetMinimumYExtent stores instead.
const double FallbackMinimumYExtent = 5e-5;

}  // namespace

TGraphWidget::TGraphWidget(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags),
      d_VTitle("V Title"),
      d_HTitle("H Title"),
      d_Title("Sample Graph"),
      d_VLabelFormat("%3.4lf"),
      d_HLabelFormat("%3.4lf"),
      d_TextHeight(QFontMetrics(font()).height()),
      d_DefaultStyle(1),
      d_FitXSpan(0.0),
      d_FitYSpan(0.0),
      d_ZoomBandVisible(false),
      d_ZoomArmed(false),
      d_ZoomDragged(false),
      d_PanArmed(false),
      d_PanDragged(false),
      d_DrawBorder(true),
      d_ScaleToFitRequest(false),
      d_ZoomOutRequest(false),
      d_HScaleMode(1),
      d_VScaleMode(1),
      d_MinimumYExtent(DefaultMinimumYExtent),
      d_EqualAspect(false),
      d_YFromZero(false),
      d_TickRule(TTickRule::Window)
{
  d_CursorText = ReadoutText(0.0, 0.0);
  // The readout follows the pointer with no button held.
  setAttribute(Qt::WA_MouseTracking);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
}

TGraphWidget::~TGraphWidget() {}

int TGraphWidget::AddDataSet(const QColor &Color, int Style)
{
  d_DataSets.push_back(TDataSet{{}, Color, Style});
  return static_cast<int>(d_DataSets.size()) - 1;
}

bool TGraphWidget::DeleteDataSet(int Offset)
{
  assert(Offset < static_cast<int>(d_DataSets.size()));
  d_DataSets.erase(d_DataSets.begin() + Offset);
  return true;
}

void TGraphWidget::ClearDataSets()
{
  d_DataSets.clear();
}

bool TGraphWidget::AddPoint(int Set, const TVector2 &Point)
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  d_DataSets[Set].Points.push_back(Point);
  return true;
}

bool TGraphWidget::SetPoint(int Set, int Offset, const TVector2 &Point)
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  assert(Offset < static_cast<int>(d_DataSets[Set].Points.size()));
  d_DataSets[Set].Points[Offset] = Point;
  return true;
}

bool TGraphWidget::DeletePoint(int Set, int Offset)
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  assert(Offset < static_cast<int>(d_DataSets[Set].Points.size()));
  std::vector<TVector2> &points = d_DataSets[Set].Points;
  points.erase(points.begin() + Offset);
  return true;
}

int TGraphWidget::PointCount(int Set) const
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  return static_cast<int>(d_DataSets[Set].Points.size());
}

TVector2 TGraphWidget::Point(int Set, int Offset) const
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  assert(Offset < static_cast<int>(d_DataSets[Set].Points.size()));
  return d_DataSets[Set].Points[Offset];
}

const TDataSet &TGraphWidget::DataSet(int Set) const
{
  assert(Set < static_cast<int>(d_DataSets.size()));
  return d_DataSets[Set];
}

void TGraphWidget::SetMinimumYExtent(double Extent)
{
  // Written so that NaN falls to the fallback as well.
  d_MinimumYExtent = Extent > 0.0 ? Extent : FallbackMinimumYExtent;
}

void TGraphWidget::SetEqualAspect(bool Equal)
{
  d_EqualAspect = Equal;
}

void TGraphWidget::SetYFromZero(bool FromZero)
{
  d_YFromZero = FromZero;
}

void TGraphWidget::SetTickRule(TTickRule Rule)
{
  d_TickRule = Rule;
}

void TGraphWidget::SetTitle(const QString &Title)
{
  d_Title = Title;
}

void TGraphWidget::SetHTitle(const QString &Title)
{
  d_HTitle = Title;
}

void TGraphWidget::SetVTitle(const QString &Title)
{
  d_VTitle = Title;
}

void TGraphWidget::ZoomOut()
{
  d_ZoomOutRequest = true;
  update();
}

void TGraphWidget::ScaleToFit()
{
  d_ScaleToFitRequest = true;
  update();
}

bool TGraphWidget::StandardColor(int Index, int *r, int *g, int *b)
{
  static const int Levels[16] = {255, 128, 192, 64, 160, 224, 96,  32,
                                 144, 112, 176, 80, 208, 48,  240, 16};
  static const int Patterns[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1},
                                     {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
  // A negative index would read before the tables: treat it as unknown.
  if (Index < 0 || Index > 96) {
    *r = 0;
    *g = 0;
    *b = 0;
    return false;
  }
  const int level = Index < 96 ? Levels[Index / 6] : 0;
  const int *pattern = Patterns[Index % 6];
  *r = pattern[0] * level;
  *g = (pattern[1] * level) / 2;  // green is halved
  *b = pattern[2] * level;
  return true;
}

// The painter is checked here, beside the other preconditions of the
// public interface; the drawing itself lives with the rest of rendering.
bool TGraphWidget::RenderToDevice(QPainter *Device, const QRect &Target, bool Border)
{
  assert(Device);
  return RenderOnto(Device, Target, Border, false);
}

bool TGraphWidget::RenderToDeviceUntitled(QPainter *Device, const QRect &Target, bool Border)
{
  assert(Device);
  return RenderOnto(Device, Target, Border, true);
}
