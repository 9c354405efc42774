// The Trends window on the offscreen platform: what it draws, its span, Pause, the
// readout under the mouse, and what a sample costs it.

#include "app/trends_window.h"

#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>
#include <memory>

#include "app/axis_ticks.h"
#include "replies/telemetry_history.h"

namespace {

constexpr int64_t kStartMs = 1'796'648'400'000;  // 2026-12-07 13:00 UTC
constexpr int64_t kPollPassMs = 1680;

// Sample i: Ei runs -5 °C to +5 °C in quarter degrees and over again.
TelemetrySample SampleNumber(int i) {
  TelemetrySample sample;
  sample.pcTimeMs = kStartMs + i * kPollPassMs;
  sample.ei = static_cast<int16_t>(i % 41 - 20);
  sample.pHigh = 344;
  sample.pwm = 128;
  sample.mains = 230;
  return sample;
}

// The replot runs from the event loop; nothing here waits on a clock.
void Settle() {
  for (int pass = 0; pass < 4; ++pass) QCoreApplication::processEvents();
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
  std::unique_ptr<TrendsWindow> window_;
  int added_ = 0;

  void Add(int count) {
    for (int i = 0; i < count; ++i) ring_.Add(SampleNumber(added_++));
    window_->SamplesAdded();
  }
  qint64 NewestMs() const { return ring_.newest().pcTimeMs; }
  // The span's end moves in steps of a thirtieth of the span: the first step at or after
  // the newest sample.
  bool EndsAtNewest(const QPair<qint64, qint64>& span) const {
    const qint64 step = (span.second - span.first) / 30;
    return span.second >= NewestMs() && span.second - NewestMs() < step && span.second % step == 0;
  }

 private slots:
  void init() {
    ring_.Clear();
    added_ = 0;
    window_ = std::make_unique<TrendsWindow>(ring_);
    window_->resize(670, 517);
    window_->show();
    Add(3000);
    Settle();
  }
  void cleanup() { window_.reset(); }

  void drawsTheLinesInThePlot() {
    QLineSeries* ei = SeriesNamed(*window_, "Ei");
    QVERIFY(ei != nullptr);
    QChartView* view = ViewOf(*window_, ei);
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

  void rangeSetsTheSpanOfEveryTimeAxis_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<qint64>("minutes");
    QTest::newRow("5 minutes") << 0 << qint64{5};
    QTest::newRow("30 minutes") << 1 << qint64{30};
    QTest::newRow("240 minutes") << 2 << qint64{240};
  }
  void rangeSetsTheSpanOfEveryTimeAxis() {
    QFETCH(int, choice);
    QFETCH(qint64, minutes);
    window_->findChild<QComboBox*>("range")->setCurrentIndex(choice);
    Settle();
    const QList<QPair<qint64, qint64>> spans = TimeSpans(*window_);
    QCOMPARE(spans.size(), 3);
    for (const auto& span : spans) {
      QCOMPARE(span.second - span.first, minutes * 60'000);
      QVERIFY(EndsAtNewest(span));
    }
  }

  void pauseHoldsTheSpanAndTheLinesUntilResumed() {
    QLineSeries* ei = SeriesNamed(*window_, "Ei");
    auto* pause = window_->findChild<QPushButton*>("pause");
    pause->click();
    QCOMPARE(pause->text(), QString("Resume"));
    const auto spans = TimeSpans(*window_);
    const QList<QPointF> points = ei->points();
    Add(50);
    Settle();
    QCOMPARE(TimeSpans(*window_), spans);
    QCOMPARE(ei->points(), points);

    pause->click();
    QCOMPARE(pause->text(), QString("Pause"));
    Settle();
    QVERIFY(EndsAtNewest(TimeSpans(*window_).first()));
    QVERIFY(ei->points() != points);
  }

  void aSampleIsPlottedFromTheEventLoopNotAtOnce() {
    QLineSeries* ei = SeriesNamed(*window_, "Ei");
    const QList<QPointF> before = ei->points();
    const auto spans = TimeSpans(*window_);
    Add(1);
    QCOMPARE(ei->points(), before);
    QCOMPARE(TimeSpans(*window_), spans);
    Settle();
    // Ei is rising here, so the newest sample is its column's highest and the line's end.
    QCOMPARE(qint64(ei->points().last().x()), NewestMs());
  }

  // Within one step of the span, a sample redraws only the lines it changes, and a line
  // that leaves its axis's range has the axis fitted to it again.
  void aNewPeakRedrawsItsLineAndRefitsItsAxis() {
    QLineSeries* ei = SeriesNamed(*window_, "Ei");
    QLineSeries* pHigh = SeriesNamed(*window_, "P_HIGH");
    const QList<QPointF> pressures = pHigh->points();
    auto* temperatures = static_cast<QValueAxis*>(ei->attachedAxes().at(1));
    TelemetrySample peak = SampleNumber(added_++);
    peak.ei = 400;  // +100 °C, four times the highest so far
    ring_.Add(peak);
    window_->SamplesAdded();
    Settle();
    QCOMPARE(ei->points().last(), QPointF(NewestMs(), EiOf(peak)));
    QVERIFY(temperatures->max() >= EiOf(peak));
    QCOMPARE(pHigh->points(), pressures);
  }

  void aMinimisedWindowCatchesUpWhenRestored() {
    const auto spans = TimeSpans(*window_);
    window_->showMinimized();
    Add(40);  // 67 s: past the next minute's step of the 30-minute span
    Settle();
    QCOMPARE(TimeSpans(*window_), spans);
    window_->showNormal();
    Settle();
    QVERIFY(EndsAtNewest(TimeSpans(*window_).first()));
    QVERIFY(TimeSpans(*window_) != spans);
  }

  void linesKeepToTwoPointsPerPixelColumn() {
    Add(7000);  // 10,000 samples: 4.7 hours, of which the last 4 shown
    window_->findChild<QComboBox*>("range")->setCurrentIndex(2);
    Settle();
    for (const char* name : {"Ei", "Eo", "Ci", "Co", "P_LOW", "P_HIGH", "PWM", "Mains"}) {
      QLineSeries* series = SeriesNamed(*window_, name);
      QVERIFY2(series != nullptr, name);
      const int columns = qRound(series->chart()->plotArea().width());
      QVERIFY2(
          series->count() >= 1 && series->count() <= 2 * columns,
          qPrintable(
              QString("%1: %2 points, %3 columns").arg(name).arg(series->count()).arg(columns)));
    }
    QVERIFY(SeriesNamed(*window_, "Ei")->count() > 400);  // the zigzag, not a flat line
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
    const QString text = window_->findChild<QLabel*>("readout")->text();
    QVERIFY2(text.startsWith("12/07/26 14:21:12 "), qPrintable(text));
    QVERIFY2(text.contains("Ei = +2.50 ") && text.contains("P_HIGH = +200.00 PSI") &&
                 text.contains("PWM = +50.20%") && text.contains("Mains Value = 230"),
             qPrintable(text));
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
