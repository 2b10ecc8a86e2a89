#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

#include "windowfixture.h"

namespace {

const QColor ChannelAColor(128, 0, 0);
const QColor ChannelBColor(0, 128, 0);
const QColor XYColor(0, 0, 128);

double MaximumY(const TDataSet &set)
{
  double maximum = -1e300;
  for (const TVector2 &point : set.Points)
    maximum = std::max(maximum, point.y);
  return maximum;
}

bool SamePoints(const std::vector<TVector2> &a, const std::vector<TVector2> &b)
{
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const TVector2 &p, const TVector2 &q) {
           return p.x == q.x && p.y == q.y;
         });
}

// Selects a spin box's text and types a new one, key by key.
void TypeInto(QDoubleSpinBox *box, const QString &text)
{
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
}

}  // namespace

class ScopeTest : public WindowFixture
{
protected:
  void ClickModeButton() { QTest::mouseClick(scope_mode, Qt::LeftButton); }

  static bool IconShows(const QIcon &icon, const char *resource)
  {
    return icon.pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32) ==
           QImage(resource).convertToFormat(QImage::Format_ARGB32);
  }
};

TEST_F(ScopeTest, DualModeShowsSineInDarkRedAndCosineInDarkGreen)
{
  ASSERT_EQ(scope->DataSetCount(), 2);
  const TDataSet &a = scope->DataSet(0);
  const TDataSet &b = scope->DataSet(1);
  EXPECT_EQ(a.Color, ChannelAColor);
  EXPECT_EQ(b.Color, ChannelBColor);
  EXPECT_EQ(a.Style, 0);
  ASSERT_EQ(a.Points.size(), 400u);
  ASSERT_EQ(b.Points.size(), 400u);
  EXPECT_DOUBLE_EQ(a.Points[0].y, 0.0);  // sin 0
  EXPECT_DOUBLE_EQ(b.Points[0].y, 1.0);  // cos 0
  for (std::size_t i = 0; i < 400; ++i)
    ASSERT_EQ(a.Points[i].x, b.Points[i].x) << i;
}

TEST_F(ScopeTest, EveryKeystrokeThatChangesTheValueRunsTheSlotAtOnce)
{
  ShowActive();
  const QStringList report_before = text_output->toPlainText().split('\n');
  QSignalSpy changes(gain_a, SIGNAL(valueChanged(double)));
  // "0" and "0." lie below the minimum and change nothing; "0.5" does.
  TypeInto(gain_a, "0.5");
  EXPECT_EQ(changes.count(), 1);
  EXPECT_NEAR(MaximumY(scope->DataSet(0)), 0.5, 1e-3);
  EXPECT_NE(text_output->toPlainText().split('\n'), report_before);

  QTest::keyClick(gain_a, Qt::Key_Up);  // one step: 0.55
  EXPECT_EQ(changes.count(), 2);
  EXPECT_NEAR(MaximumY(scope->DataSet(0)), 0.55, 1e-3);
  // Channel B stayed as it was.
  EXPECT_NEAR(MaximumY(scope->DataSet(1)), 1.0, 1e-12);
}

TEST_F(ScopeTest, EachParameterBoxRebuildsOnlyItsOwnChannel)
{
  struct Case
  {
    QDoubleSpinBox *box;
    double value;
    int changed;  // data set index of the channel it drives
  };
  const Case cases[] = {{gain_a, 0.5, 0},   {offset_a, 0.3, 0}, {phase_a, 0.2, 0},
                        {gain_b, 1.5, 1},   {offset_b, -0.4, 1}, {phase_b, -0.3, 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.box->objectName().toStdString());
    const std::vector<TVector2> a = scope->DataSet(0).Points;
    const std::vector<TVector2> b = scope->DataSet(1).Points;
    c.box->setValue(c.value);
    ASSERT_EQ(scope->DataSetCount(), 2);
    EXPECT_EQ(SamePoints(scope->DataSet(0).Points, a), c.changed != 0);
    EXPECT_EQ(SamePoints(scope->DataSet(1).Points, b), c.changed != 1);
  }
}

TEST_F(ScopeTest, SetupChangeLeavesTheScopeAlone)
{
  const std::vector<TVector2> a = scope->DataSet(0).Points;
  const std::vector<TVector2> b = scope->DataSet(1).Points;
  scale_pitch->setCurrentText("0.120");
  resolution->setCurrentText("0.0001");
  EXPECT_TRUE(SamePoints(scope->DataSet(0).Points, a));
  EXPECT_TRUE(SamePoints(scope->DataSet(1).Points, b));
  EXPECT_EQ(error_graph->PointCount(0), 12000);
}

TEST_F(ScopeTest, XYModeDrawsChannelBAgainstChannelA)
{
  const std::vector<TVector2> a = scope->DataSet(0).Points;
  const std::vector<TVector2> b = scope->DataSet(1).Points;
  ShowActive();
  ClickModeButton();
  ASSERT_TRUE(scope_mode->isChecked());
  EXPECT_EQ(scope->Title(), "Oscilloscope - XY Mode");
  EXPECT_EQ(scope->HTitle(), "Channel A (SIN)");
  EXPECT_EQ(scope->VTitle(), "Channel B (COS)");
  EXPECT_TRUE(scope->EqualAspect());
  EXPECT_TRUE(IconShows(scope_mode->icon(), ":/gui/gui_xy.png"));
  ASSERT_EQ(scope->DataSetCount(), 1);
  const TDataSet &xy = scope->DataSet(0);
  EXPECT_EQ(xy.Color, XYColor);
  ASSERT_EQ(xy.Points.size(), 400u);
  for (std::size_t i = 0; i < 400; ++i) {
    ASSERT_EQ(xy.Points[i].x, a[i].y) << i;
    ASSERT_EQ(xy.Points[i].y, b[i].y) << i;
  }
  // Parameter changes in XY mode keep the one curve.
  phase_a->setValue(0.5);
  ASSERT_EQ(scope->DataSetCount(), 1);
  EXPECT_EQ(scope->DataSet(0).Color, XYColor);
}

TEST_F(ScopeTest, TogglingTwiceRestoresTheViewAndLeavesTheEvaluationAlone)
{
  const std::vector<TVector2> a = scope->DataSet(0).Points;
  const std::vector<TVector2> b = scope->DataSet(1).Points;
  offset_b->setValue(1.0);  // a status line to keep
  const QString report = text_output->toPlainText();
  const QString status_text = status->text();
  text_output->setPlainText(report + "\nmarker");  // would be lost on a rerun
  ShowActive();
  ClickModeButton();
  ClickModeButton();
  EXPECT_FALSE(scope_mode->isChecked());
  EXPECT_EQ(scope->Title(), "Oscilloscope - Dual Channel Mode");
  EXPECT_EQ(scope->HTitle(), "Channel AB Radian Position");
  EXPECT_EQ(scope->VTitle(), "Signal");
  EXPECT_FALSE(scope->EqualAspect());
  EXPECT_TRUE(IconShows(scope_mode->icon(), ":/gui/gui_ty.png"));
  ASSERT_EQ(scope->DataSetCount(), 2);
  EXPECT_EQ(scope->DataSet(0).Color, ChannelAColor);
  EXPECT_EQ(scope->DataSet(1).Color, ChannelBColor);
  EXPECT_TRUE(SamePoints(scope->DataSet(0).Points, a));
  EXPECT_FALSE(SamePoints(scope->DataSet(1).Points, b));  // offset B moved it
  EXPECT_EQ(text_output->toPlainText(), report + "\nmarker");
  EXPECT_EQ(status->text(), status_text);
}

TEST_F(ScopeTest, FullGainOnBothChannelsMakesTheXYSquare)
{
  gain_a->setValue(2.0);
  gain_b->setValue(2.0);
  scope_mode->setChecked(true);
  bool corner[2][2] = {{false, false}, {false, false}};
  for (const TVector2 &p : scope->DataSet(0).Points) {
    ASSERT_LE(std::abs(p.x), 1.0);
    ASSERT_LE(std::abs(p.y), 1.0);
    if (std::abs(p.x) == 1.0 && std::abs(p.y) == 1.0)
      corner[p.x > 0][p.y > 0] = true;
  }
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      EXPECT_TRUE(corner[i][j]) << i << j;
}

TEST_F(ScopeTest, OffsetOnChannelBSetsAndClearsTheStatus)
{
  ShowActive();
  TypeInto(offset_b, "1");
  EXPECT_EQ(status->text(), "Scale count not zero on return");
  TypeInto(offset_b, "0");
  EXPECT_TRUE(status->text().isEmpty());
}

TEST_F(ScopeTest, XYCircleIsDrawnRound)
{
  window->resize(1000, 800);  // a scope much wider than high
  ShowActive();
  ClickModeButton();
  QApplication::processEvents();
  const QImage image = scope->Pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (QColor(image.pixel(x, y)) == XYColor) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, left);
  EXPECT_GT(right - left, 20);
  EXPECT_LE(std::abs((right - left) - (bottom - top)), 2)
      << "extent " << right - left << " x " << bottom - top;
  EXPECT_GT(scope->width(), scope->height());
}
