// The Trends window on the offscreen platform: what it draws, its span, its gaps, its
// axes, Pause, the readout under the mouse and the keyboard, its colours and its size.

#include "app/trends_window.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QValueAxis>
#include <QtTest>
#include <memory>

#include "app/axis_ticks.h"
#include "app/palette_colours.h"
#include "app/trend_chart.h"
#include "app/trend_readout.h"
#include "dark_palette.h"
#include "replies/poll_interruptions.h"
#include "replies/telemetry_history.h"

namespace {

constexpr int64_t kStartMs = 1'796'648'400'000;  // 2026-12-07 13:00 UTC
constexpr int64_t kPollPassMs = 1680;

// Sample i: Ei runs -5 °C to +5 °C in quarter degrees and over again, P_LOW 29 to 31 PSI.
TelemetrySample SampleNumber(int i) {
  TelemetrySample sample;
  sample.pcTimeMs = kStartMs + i * kPollPassMs;
  sample.ei = static_cast<int16_t>(i % 41 - 20);
  sample.pLow = static_cast<int16_t>(209 + i % 19);
  sample.pHigh = 344;
  sample.pwm = 128;
  sample.mains = 230;
  return sample;
}

// The replot runs from the event loop; nothing here waits on a clock.
void Settle() {
  for (int pass = 0; pass < 4; ++pass) QCoreApplication::processEvents();
}

QList<TrendChart*> Charts(const TrendsWindow& window) {
  QList<TrendChart*> charts;
  for (QChartView* view : window.findChildren<QChartView*>()) {
    charts.append(static_cast<TrendChart*>(view->chart()));
  }
  return charts;
}

// The points of the line of that name, as its chart last drew them.
std::vector<TrendPoint> PointsOf(const TrendsWindow& window, const QString& name) {
  for (TrendChart* chart : Charts(window)) {
    for (const TrendPicture::Line& line : chart->picture().lines) {
      if (name == QLatin1String(line.name)) return line.points;
    }
  }
  return {};
}

QLineSeries* SeriesNamed(const TrendsWindow& window, const QString& name) {
  for (QChartView* view : window.findChildren<QChartView*>()) {
    for (QAbstractSeries* series : view->chart()->series()) {
      if (series->name() == name) return static_cast<QLineSeries*>(series);
    }
  }
  return nullptr;
}

QChartView* ViewOf(const TrendsWindow& window, const QLineSeries* series) {
  for (QChartView* view : window.findChildren<QChartView*>()) {
    if (view->chart()->series().contains(series)) return view;
  }
  return nullptr;
}

// Every chart's time axis as [first, last] milliseconds.
QList<QPair<qint64, qint64>> TimeSpans(const TrendsWindow& window) {
  QList<QPair<qint64, qint64>> spans;
  for (QChartView* view : window.findChildren<QChartView*>()) {
    auto* axis = static_cast<QDateTimeAxis*>(view->chart()->axes(Qt::Horizontal).first());
    spans.append({axis->min().toMSecsSinceEpoch(), axis->max().toMSecsSinceEpoch()});
  }
  return spans;
}

}  // namespace

class TrendsWindowTest : public QObject {
  Q_OBJECT

 private:
  TelemetryRing ring_;
  PollInterruptions interruptions_;
  std::unique_ptr<TrendsWindow> window_;
  int added_ = 0;
  int64_t nowMs_ = 0;

  // Samples taken up to now.
  void Add(int count) {
    for (int i = 0; i < count; ++i) ring_.Add(SampleNumber(added_++));
    nowMs_ = NewestMs();
    window_->SamplesAdded();
  }
  qint64 NewestMs() const { return ring_.newest().pcTimeMs; }
  QLabel* Readout() const { return window_->findChild<QLabel*>("readout"); }

 private slots:
  void init() {
    ring_.Clear();
    interruptions_ = PollInterruptions();
    added_ = 0;
    window_ = std::make_unique<TrendsWindow>(ring_, interruptions_);
    window_->SetClock([this] { return nowMs_; });
    window_->resize(670, 517);
    window_->show();
    Add(3000);
    Settle();
  }
  void cleanup() { window_.reset(); }

  void drawsTheLinesInThePlot() {
    QChartView* view = ViewOf(*window_, SeriesNamed(*window_, "Ei"));
    const QImage image = view->grab().toImage();
    const QRect plot = view->mapFromScene(view->chart()->plotArea()).boundingRect();
    int linePixels = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
      for (int x = plot.left(); x <= plot.right(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        if (pixel.blue() > 150 && pixel.red() < 100) ++linePixels;
      }
    }
    // Ei's blue zigzag spans the plot's width.
    QVERIFY2(linePixels > plot.width(), qPrintable(QString::number(linePixels)));
    QCOMPARE(window_->windowTitle(), QString("Trends"));
    QVERIFY(window_->isWindow());
  }

  // The charts' axes and legends differ in width; their time axes still line up.
  void plotAreasLineUpAcrossTheCharts() {
    const QList<QChartView*> views = window_->findChildren<QChartView*>();
    QCOMPARE(views.size(), 3);
    const QRectF first = views.first()->chart()->plotArea();
    for (QChartView* view : views) {
      QVERIFY(qAbs(view->chart()->plotArea().left() - first.left()) < 1);
      QVERIFY(qAbs(view->chart()->plotArea().right() - first.right()) < 1);
    }
  }

  // The span ends now, never later; at the newest sample where the clock went back.
  void rangeSetsTheSpanOfEveryTimeAxis_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<qint64>("minutes");
    QTest::addColumn<qint64>("nowAfterNewest");
    QTest::addColumn<qint64>("endAfterNewest");
    QTest::newRow("5 minutes") << 0 << qint64{5} << qint64{0} << qint64{0};
    QTest::newRow("30 minutes") << 1 << qint64{30} << qint64{1234} << qint64{1234};
    QTest::newRow("240 minutes") << 2 << qint64{240} << qint64{-60'000} << qint64{0};
  }
  void rangeSetsTheSpanOfEveryTimeAxis() {
    QFETCH(int, choice);
    QFETCH(qint64, minutes);
    QFETCH(qint64, nowAfterNewest);
    nowMs_ = NewestMs() + nowAfterNewest;
    window_->SamplesAdded();
    window_->findChild<QComboBox*>("range")->setCurrentIndex(choice);
    Settle();
    const QList<QPair<qint64, qint64>> spans = TimeSpans(*window_);
    QCOMPARE(spans.size(), 3);
    for (const auto& span : spans) {
      QCOMPARE(span.second - span.first, minutes * 60'000);
      QTEST(span.second - NewestMs(), "endAfterNewest");
    }
  }

  void pauseHoldsTheSpanAndTheLinesUntilResumed() {
    auto* pause = window_->findChild<QPushButton*>("pause");
    pause->click();
    QCOMPARE(pause->text(), QString("Resume"));
    const auto spans = TimeSpans(*window_);
    const std::vector<TrendPoint> points = PointsOf(*window_, "Ei");
    Add(50);
    Settle();
    QCOMPARE(TimeSpans(*window_), spans);
    QVERIFY(PointsOf(*window_, "Ei") == points);

    pause->click();
    QCOMPARE(pause->text(), QString("Pause"));
    Settle();
    QCOMPARE(TimeSpans(*window_).first().second, NewestMs());
    QVERIFY(PointsOf(*window_, "Ei") != points);
  }

  void aSampleIsPlottedFromTheEventLoopNotAtOnce() {
    const std::vector<TrendPoint> before = PointsOf(*window_, "Ei");
    const auto spans = TimeSpans(*window_);
    Add(1);
    QVERIFY(PointsOf(*window_, "Ei") == before);
    QCOMPARE(TimeSpans(*window_), spans);
    Settle();
    // Ei is rising here, so the newest sample is its column's highest and the line's end.
    QCOMPARE(PointsOf(*window_, "Ei").back().ms, NewestMs());
  }

  // A line that leaves its axis's range has the axis fitted to it again.
  void aNewPeakRefitsItsAxis() {
    auto* temperatures =
        static_cast<QValueAxis*>(SeriesNamed(*window_, "Ei")->attachedAxes().at(1));
    TelemetrySample peak = SampleNumber(added_);
    peak.ei = 400;  // +100 °C, four times the highest so far
    ring_.Add(peak);
    Add(0);
    Settle();
    QCOMPARE(PointsOf(*window_, "Ei").back(), (TrendPoint{NewestMs(), EiOf(peak)}));
    QVERIFY(temperatures->max() >= EiOf(peak));
  }

  void aMinimisedWindowCatchesUpWhenRestored() {
    const auto spans = TimeSpans(*window_);
    window_->showMinimized();
    Add(40);
    Settle();
    QCOMPARE(TimeSpans(*window_), spans);
    window_->showNormal();
    Settle();
    QCOMPARE(TimeSpans(*window_).first().second, NewestMs());
    QVERIFY(TimeSpans(*window_) != spans);
  }

  void linesKeepToTwoPointsPerPixelColumn() {
    Add(7000);  // 10,000 samples: 4.7 hours, of which the last 4 shown
    window_->findChild<QComboBox*>("range")->setCurrentIndex(2);
    Settle();
    for (const char* name : {"Ei", "Eo", "Ci", "Co", "P_LOW", "P_HIGH", "PWM", "Mains"}) {
      const std::size_t points = PointsOf(*window_, name).size();
      const auto columns =
          static_cast<std::size_t>(qRound(Charts(*window_)[0]->plotArea().width()));
      QVERIFY2(points >= 1 && points <= 2 * columns,
               qPrintable(QString("%1: %2 points, %3 columns").arg(name).arg(points).arg(columns)));
    }
    QVERIFY(PointsOf(*window_, "Ei").size() > 400);  // the zigzag, not a flat line
  }

  void pointingShowsTheNearestSample() {
    // Over 5 minutes a pixel is well under the 1.68 s between samples.
    window_->findChild<QComboBox*>("range")->setCurrentIndex(0);
    Settle();
    QLineSeries* ei = SeriesNamed(*window_, "Ei");
    QChartView* view = ViewOf(*window_, ei);
    const TelemetrySample target = ring_.at(ring_.size() - 100);  // 13:00 + 2900 x 1.68 s
    const QPointF inChart = view->chart()->mapToPosition(QPointF(target.pcTimeMs, 0), ei);
    QTest::mouseMove(view->viewport(), view->mapFromScene(inChart));
    const QString text = Readout()->text();
    QVERIFY2(text.startsWith("12/07/26 14:21:12 "), qPrintable(text));
    QVERIFY2(text.contains("Ei = +2.50 ") && text.contains("P_HIGH = +200.00 PSI") &&
                 text.contains("PWM = +50.20%") && text.contains("Mains Value = 230"),
             qPrintable(text));
  }

  // A Get All kept the passes away for 37 s, and nothing has come for the 40 s since
  // the Close: both gaps are shaded and named in every chart, and no line crosses them.
  void gapsAreShadedNamedAndBreakTheLines() {
    window_->findChild<QComboBox*>("range")->setCurrentIndex(0);
    const int64_t beforeGetAll = NewestMs();
    const int64_t afterGetAll = beforeGetAll + 23 * kPollPassMs;
    interruptions_.Note(Interruption::kGetAll, beforeGetAll + 500);
    interruptions_.Note(std::nullopt, afterGetAll - 500);
    added_ += 22;
    Add(10);
    interruptions_.Note(Interruption::kClosed, NewestMs() + 500);
    nowMs_ = NewestMs() + 40'000;
    window_->SamplesAdded();
    Settle();
    for (TrendChart* chart : Charts(*window_)) {
      const std::vector<TrendPicture::Gap>& gaps = chart->picture().gaps;
      QCOMPARE(gaps.size(), std::size_t{2});
      QVERIFY(std::tuple(gaps[0].fromMs, gaps[0].toMs, gaps[0].label) ==
              std::tuple(beforeGetAll, afterGetAll, QString("Get All")));
      QVERIFY(std::tuple(gaps[1].fromMs, gaps[1].toMs, gaps[1].label) ==
              std::tuple(NewestMs(), nowMs_, QString("Closed")));
      for (const TrendPicture::Line& line : chart->picture().lines) {
        std::vector<int64_t> breaks;
        for (const TrendPoint& point : line.points) {
          if (point.afterGap) breaks.push_back(point.ms);
        }
        QVERIFY2(breaks == std::vector<int64_t>{afterGetAll}, line.name);
      }
    }
  }

  // Each axis fits its lines in under half its full range, which Full scale restores.
  void axesFitTheirLinesOrShowFullScale() {
    const QList<QPair<double, double>> fullRanges{
        {-10, 40}, {0, 250}, {0, 250}, {0, 100}, {0, 255}};
    auto* fullScale = window_->findChild<QCheckBox*>("fullScale");
    QVERIFY(!fullScale->isChecked() && !fullScale->accessibleName().isEmpty());
    for (const bool full : {false, true}) {
      fullScale->setChecked(full);
      Settle();
      int axis = 0;
      for (TrendChart* chart : Charts(*window_)) {
        const QList<QAbstractAxis*> shown = chart->axes(Qt::Vertical);
        for (int i = 0; i < shown.size(); ++i, ++axis) {
          const auto* range = static_cast<QValueAxis*>(shown[i]);
          const auto [fullLow, fullHigh] = fullRanges.at(axis);
          const TrendPicture::Range drawn = chart->picture().axes.at(i);
          QVERIFY(drawn.low == range->min() && drawn.high == range->max());
          const bool fits = range->max() - range->min() < (fullHigh - fullLow) / 2;
          QVERIFY2(full ? range->min() == fullLow && range->max() == fullHigh : fits,
                   qPrintable(range->titleText()));
          for (const TrendPicture::Line& line : chart->picture().lines) {
            for (const TrendPoint& point : line.points) {
              QVERIFY(line.axis != std::size_t(i) ||
                      (point.value >= drawn.low && point.value <= drawn.high));
            }
          }
        }
      }
      QCOMPARE(axis, 5);
    }
  }

  // Tab reaches a chart; End, Left, Home and Right move the readout, which a screen
  // reader hears as the label's name.
  void keysMoveTheReadoutThroughTheSamplesShown() {
    window_->findChild<QComboBox*>("range")->setCurrentIndex(0);
    Settle();
    QChartView* view = window_->findChildren<QChartView*>().first();
    QVERIFY(view->focusPolicy() & Qt::TabFocus);
    QVERIFY(!view->accessibleName().isEmpty() && !view->accessibleDescription().isEmpty());
    const std::size_t last = ring_.size() - 1;
    const std::size_t first = last - 5 * 60'000 / kPollPassMs;
    const std::pair<Qt::Key, std::size_t> steps[] = {
        {Qt::Key_End, last},   {Qt::Key_Left, last - 1},   {Qt::Key_Home, first},
        {Qt::Key_Left, first}, {Qt::Key_Right, first + 1}, {Qt::Key_End, last},
        {Qt::Key_Right, last}};
    for (const auto& [key, index] : steps) {
      QTest::keyClick(view, key);
      QCOMPARE(Readout()->text(), SampleReadout(ring_.at(index)));
      QCOMPARE(Readout()->accessibleName(), Readout()->text());
      for (TrendChart* chart : Charts(*window_)) {
        QCOMPARE(chart->picture().cursorMs, std::optional<int64_t>(ring_.at(index).pcTimeMs));
      }
    }
  }

  // The chart's colours are the palette's, and every line keeps 3:1 against the plot.
  void chartsFollowTheLightAndTheDarkPalette() {
    const QPalette light = QStyleFactory::create("Fusion")->standardPalette();
    for (const QPalette& palette : {light, DarkFusionPalette()}) {
      window_->setPalette(palette);
      Settle();
      for (TrendChart* chart : Charts(*window_)) {
        QCOMPARE(chart->backgroundBrush().color(), palette.color(QPalette::Window));
        const QColor plot = chart->plotAreaBackgroundBrush().color();
        QCOMPARE(plot, palette.color(QPalette::Base));
        for (const TrendPicture::Line& line : chart->picture().lines) {
          QVERIFY2(ContrastRatio(line.colour, plot) >= 3, line.name);
          QCOMPARE(SeriesNamed(*window_, line.name)->pen().color(), line.colour);
        }
      }
    }
  }

  // Opened no larger than the screen's free area; the size the operator gives it is kept.
  void opensWithinTheScreenAndKeepsItsSize() {
    const QSize available = window_->screen()->availableGeometry().size();
    TrendsWindow fresh(ring_, interruptions_);
    fresh.show();
    QVERIFY(fresh.width() <= available.width() && fresh.height() <= available.height());
    fresh.resize(480, 360);
    fresh.close();
    fresh.show();
    QCOMPARE(fresh.size(), QSize(480, 360));
  }

  void roundTicksCoverTheRangeWithinTheirCount_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("most");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<int>("count");
    QTest::newRow("temperatures") << -6.0 << 37.0 << 6 << -10.0 << 40.0 << 6;
    QTest::newRow("few ticks") << -6.0 << 37.0 << 4 << -20.0 << 40.0 << 4;
    QTest::newRow("narrow") << 29.1 << 29.9 << 6 << 29.0 << 30.0 << 6;
    QTest::newRow("narrow, few ticks") << 29.1 << 29.9 << 5 << 29.0 << 30.0 << 3;
    QTest::newRow("one value") << 5.0 << 5.0 << 6 << 4.0 << 6.0 << 5;
    QTest::newRow("fewer than three asked") << -1.0 << 1.0 << 1 << -1.0 << 1.0 << 3;
  }
  void roundTicksCoverTheRangeWithinTheirCount() {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, most);
    const AxisTicks ticks = RoundTicks(low, high, most);
    QTEST(ticks.low, "first");
    QTEST(ticks.high, "last");
    QTEST(ticks.count, "count");
  }
};

QTEST_MAIN(TrendsWindowTest)
#include "trends_window_test.moc"
