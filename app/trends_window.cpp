#include "app/trends_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QGraphicsLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "app/plot_alignment.h"
#include "app/trend_chart.h"
#include "app/trend_chart_view.h"
#include "app/trend_quantities.h"
#include "app/trend_readout.h"
#include "replies/telemetry_history.h"
#include "replies/telemetry_search.h"

namespace {

// The spans the operator can choose, each with time labels that suit it.
struct RangeChoice {
  const char* text;
  int minutes;
  const char* timeFormat;
  int timeLabels;
};

constexpr RangeChoice kRanges[] = {
    {"Last 5 minutes", 5, "HH:mm:ss", 6},
    {"Last 30 minutes", 30, "HH:mm", 7},
    {"Last 4 hours", 240, "HH:mm", 9},
};
constexpr int kDefaultRange = 1;
constexpr int kChartMargin = 6;

// The shown span ends on a multiple of a thirtieth of it.
constexpr int64_t kEndSteps = 30;

// The start of a span ending at `toMs`; the earliest time there is, should the PC's
// clock ever give times near it.
int64_t SpanStart(int64_t toMs, int64_t spanMs) {
  const int64_t earliest = std::numeric_limits<int64_t>::min();
  return toMs < earliest + spanMs ? earliest : toMs - spanMs;
}

}  // namespace

TrendsWindow::TrendsWindow(const TelemetryRing& ring, QWidget* parent)
    : QWidget(parent, Qt::Window), ring_(ring) {
  setWindowTitle(QStringLiteral("Trends"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildControls());
  BuildCharts(*layout);
  readout_ = new QLabel(QStringLiteral("Point at a chart to read the sample nearest in time."));
  readout_->setObjectName(QStringLiteral("readout"));
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Room for the two lines of a sample, so the charts do not move when one is shown.
  readout_->setMinimumHeight(2 * readout_->fontMetrics().lineSpacing());
  layout->addWidget(readout_);

  replotTimer_.setSingleShot(true);
  replotTimer_.setInterval(0);
  connect(&replotTimer_, &QTimer::timeout, this, &TrendsWindow::Replot);
  layoutTimer_.setSingleShot(true);
  layoutTimer_.setInterval(0);
  connect(&layoutTimer_, &QTimer::timeout, this, &TrendsWindow::LayoutSettled);
  RangeChanged();
  resize(900, 720);
}

QWidget* TrendsWindow::BuildControls() {
  auto* bar = new QWidget;
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  range_ = new QComboBox;
  range_->setObjectName(QStringLiteral("range"));
  for (const RangeChoice& choice : kRanges) range_->addItem(QString::fromLatin1(choice.text));
  range_->setCurrentIndex(kDefaultRange);
  connect(range_, &QComboBox::currentIndexChanged, this, &TrendsWindow::RangeChanged);
  pause_ = new QPushButton(QStringLiteral("Pause"));
  pause_->setObjectName(QStringLiteral("pause"));
  pause_->setCheckable(true);
  connect(pause_, &QPushButton::toggled, this, &TrendsWindow::PauseToggled);
  row->addWidget(range_);
  row->addWidget(pause_);
  row->addStretch();
  return bar;
}

void TrendsWindow::BuildCharts(QBoxLayout& layout) {
  const auto definitions = TrendCharts();
  for (std::size_t i = 0; i < definitions.size(); ++i) {
    const bool bottom = i + 1 == definitions.size();
    auto* chart = new TrendChart(definitions[i], bottom);
    chart->setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
    auto* view = new TrendChartView(chart);
    layout.addWidget(view, 1);
    charts_.append(chart);
    connect(chart, &QChart::plotAreaChanged, &layoutTimer_, qOverload<>(&QTimer::start));
    connect(view, &TrendChartView::TimePointed, this, &TrendsWindow::ShowNearest);
  }
}

void TrendsWindow::SamplesAdded() {
  if (!paused_) ScheduleReplot();
}

void TrendsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) replotTimer_.start();
}

void TrendsWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && stale_ && Shown()) replotTimer_.start();
}

bool TrendsWindow::Shown() const {
  return isVisible() && !isMinimized();
}

void TrendsWindow::ScheduleReplot() {
  stale_ = true;
  if (Shown() && !replotTimer_.isActive()) replotTimer_.start();
}

void TrendsWindow::Replot() {
  if (!Shown()) return;  // stays stale until shown again
  stale_ = false;
  if (!paused_) {
    const int64_t newest =
        ring_.empty() ? QDateTime::currentMSecsSinceEpoch() : ring_.newest().pcTimeMs;
    // The span's end moves in steps of a thirtieth of it, so that the time labels are laid
    // out anew once a step rather than for every sample.
    const int64_t step = std::max<int64_t>(1, ShownRangeMs() / kEndSteps);
    shownToMs_ = newest > std::numeric_limits<int64_t>::max() - step
                     ? newest
                     : (newest + step - 1) / step * step;
  }
  const int64_t fromMs = SpanStart(shownToMs_, ShownRangeMs());
  for (TrendChart* chart : charts_) chart->Replot(ring_, fromMs, shownToMs_);
}

void TrendsWindow::LayoutSettled() {
  // A chart resized since its last layout would be measured half moved.
  for (TrendChart* chart : charts_) chart->layout()->activate();
  AlignPlotAreas(QList<QChart*>(charts_.begin(), charts_.end()), kChartMargin);
  const bool resized = std::any_of(charts_.begin(), charts_.end(),
                                   [](const TrendChart* chart) { return chart->PlotResized(); });
  if (resized) ScheduleReplot();
}

void TrendsWindow::RangeChanged() {
  const RangeChoice& choice = kRanges[range_->currentIndex()];
  for (TrendChart* chart : charts_) {
    chart->SetTimeLabels(QString::fromLatin1(choice.timeFormat), choice.timeLabels);
  }
  ScheduleReplot();
}

void TrendsWindow::PauseToggled(bool paused) {
  paused_ = paused;
  pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  if (!paused) ScheduleReplot();
}

void TrendsWindow::ShowNearest(int64_t ms) {
  const std::optional<std::size_t> nearest = NearestSample(ring_, ms);
  if (nearest) readout_->setText(SampleReadout(ring_.at(*nearest)));
}

int64_t TrendsWindow::ShownRangeMs() const {
  return int64_t{kRanges[range_->currentIndex()].minutes} * 60'000;
}
