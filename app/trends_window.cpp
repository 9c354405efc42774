#include "app/trends_window.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QGraphicsLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <limits>

#include "app/plot_alignment.h"
#include "app/trend_chart.h"
#include "app/trend_quantities.h"
#include "app/trend_readout.h"
#include "panel/panel_dialog.h"
#include "replies/sample_gaps.h"
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
constexpr QSize kPreferredSize(900, 720);
// Longer than this without a sample is a gap: three poll passes.
constexpr int64_t kLongestPauseMs = 3 * kPollPassMs;
// Room for a sample's two lines and the gap after it, so the charts do not move.
constexpr int kReadoutLines = 3;

// The start of a span ending at `toMs`; the earliest time there is, should the PC's
// clock ever give times near it.
int64_t SpanStart(int64_t toMs, int64_t spanMs) {
  const int64_t earliest = std::numeric_limits<int64_t>::min();
  return toMs < earliest + spanMs ? earliest : toMs - spanMs;
}

}  // namespace

TrendsWindow::TrendsWindow(const TelemetryRing& ring, const PollInterruptions& interruptions,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      ring_(ring),
      interruptions_(interruptions),
      nowMs_([] { return QDateTime::currentMSecsSinceEpoch(); }) {
  setWindowTitle(QStringLiteral("Trends"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildControls());
  BuildCharts(*layout);
  readout_ = new QLabel(
      QStringLiteral("Point at a chart, or Tab to one and use the arrow keys, to read a sample."));
  readout_->setObjectName(QStringLiteral("readout"));
  readout_->setAccessibleName(readout_->text());
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  readout_->setMinimumHeight(kReadoutLines * readout_->fontMetrics().lineSpacing());
  readout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(readout_);

  replotTimer_.setSingleShot(true);
  replotTimer_.setInterval(0);
  connect(&replotTimer_, &QTimer::timeout, this, &TrendsWindow::Replot);
  layoutTimer_.setSingleShot(true);
  layoutTimer_.setInterval(0);
  connect(&layoutTimer_, &QTimer::timeout, this, &TrendsWindow::LayoutSettled);
  gapTimer_.setSingleShot(true);
  connect(&gapTimer_, &QTimer::timeout, this, &TrendsWindow::ScheduleReplot);
  ApplyPalette();
  RangeChanged();
  resize(kPreferredSize);
}

QWidget* TrendsWindow::BuildControls() {
  auto* bar = new QWidget;
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  range_ = new QComboBox;
  range_->setObjectName(QStringLiteral("range"));
  range_->setAccessibleName(QStringLiteral("Time span shown"));
  for (const RangeChoice& choice : kRanges) range_->addItem(QString::fromLatin1(choice.text));
  range_->setCurrentIndex(kDefaultRange);
  connect(range_, &QComboBox::currentIndexChanged, this, &TrendsWindow::RangeChanged);
  pause_ = new QPushButton(QStringLiteral("Pause"));
  pause_->setObjectName(QStringLiteral("pause"));
  pause_->setCheckable(true);
  connect(pause_, &QPushButton::toggled, this, &TrendsWindow::PauseToggled);
  fullScale_ = new QCheckBox(QStringLiteral("&Full scale"));
  fullScale_->setObjectName(QStringLiteral("fullScale"));
  fullScale_->setAccessibleName(QStringLiteral("Full scale"));
  fullScale_->setAccessibleDescription(
      QStringLiteral("Each axis shows its fixed range rather than fitting the lines"));
  connect(fullScale_, &QCheckBox::toggled, this, &TrendsWindow::FullScaleToggled);
  row->addWidget(range_);
  row->addWidget(pause_);
  row->addWidget(fullScale_);
  row->addStretch();
  return bar;
}

void TrendsWindow::BuildCharts(QBoxLayout& layout) {
  const auto definitions = TrendCharts();
  for (std::size_t i = 0; i < definitions.size(); ++i) {
    const TrendChartDefinition& definition = definitions[i];
    const bool bottom = i + 1 == definitions.size();
    auto* chart = new TrendChart(definition, bottom);
    chart->setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
    auto* view = new TrendChartView(chart);
    view->setAccessibleName(QString::fromUtf8(definition.name));
    view->setAccessibleDescription(QStringLiteral(
        "Over time; shaded spans are gaps without samples, named by their cause. Left and "
        "Right step through the samples, Home and End go to the first and last shown; the "
        "readout below the charts gives the sample's values."));
    layout.addWidget(view, 1);
    charts_.append(chart);
    connect(chart, &QChart::plotAreaChanged, &layoutTimer_, qOverload<>(&QTimer::start));
    connect(view, &TrendChartView::TimePointed, this, &TrendsWindow::ShowNearest);
    connect(view, &TrendChartView::CursorMoved, this, &TrendsWindow::MoveCursor);
    connect(view, &TrendChartView::Focused, this, [this] {
      if (!cursorMs_) MoveCursor(TrendChartView::CursorMove::kLast);
    });
  }
}

void TrendsWindow::SamplesAdded() {
  if (!paused_) ScheduleReplot();
}

void TrendsWindow::showEvent(QShowEvent* event) {
  FitToScreen();
  QWidget::showEvent(event);
  if (stale_) replotTimer_.start();
}

void TrendsWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) ApplyPalette();
  if (event->type() == QEvent::WindowStateChange && stale_ && Shown()) replotTimer_.start();
}

// The window opens no larger than the screen's free area; a size within it, as the
// operator last left it, is kept for the rest of the session.
void TrendsWindow::FitToScreen() {
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return;
  QSize frame = frameGeometry().size() - size();
  // The frame of a window not shown before is not known yet: room for a title bar.
  if (frame.isNull()) frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
  const QSize room = shownOn->availableGeometry().size() - frame;
  if (width() > room.width() || height() > room.height()) resize(size().boundedTo(room));
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
  const int64_t now = nowMs_();
  if (!paused_) {
    // Up to now and not beyond; up to the newest sample, should the PC's clock have
    // stepped back behind it.
    shownToMs_ = ring_.empty() ? now : std::max(now, ring_.newest().pcTimeMs);
    WatchForGap(now);
  }
  const int64_t fromMs = ShownFromMs();
  const TrendSpan span{fromMs, shownToMs_, kLongestPauseMs, GapsShown(fromMs, now)};
  for (TrendChart* chart : charts_) chart->Replot(ring_, span);
}

std::vector<TrendPicture::Gap> TrendsWindow::GapsShown(int64_t fromMs, int64_t nowMs) const {
  std::vector<TrendPicture::Gap> shown;
  for (const SampleGap& gap :
       GapsWithin(ring_, interruptions_, fromMs, shownToMs_, nowMs, kLongestPauseMs)) {
    shown.push_back({gap.fromMs, gap.toMs, QString::fromStdString(InterruptionNames(gap.causes))});
  }
  return shown;
}

// While samples come, each replots the window; once they stop, the window replots itself
// when a gap begins and every poll pass after, so that the gap shows as it grows.
void TrendsWindow::WatchForGap(int64_t nowMs) {
  const int64_t quietMs = ring_.empty() ? 0 : nowMs - ring_.newest().pcTimeMs;
  const int64_t untilGapMs =
      std::clamp<int64_t>(kLongestPauseMs + 1 - quietMs, 0, kLongestPauseMs + 1);
  gapTimer_.start(static_cast<int>(untilGapMs > 0 ? untilGapMs : kPollPassMs));
}

void TrendsWindow::LayoutSettled() {
  // A chart resized since its last layout would be measured half moved.
  for (TrendChart* chart : charts_) chart->layout()->activate();
  AlignPlotAreas(QList<QChart*>(charts_.begin(), charts_.end()), kChartMargin);
  const bool resized = std::any_of(charts_.begin(), charts_.end(),
                                   [](const TrendChart* chart) { return chart->PlotResized(); });
  if (resized) ScheduleReplot();
}

void TrendsWindow::ApplyPalette() {
  for (TrendChart* chart : charts_) chart->ApplyPalette(palette());
  ScheduleReplot();
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
  if (paused) gapTimer_.stop();
  if (!paused) ScheduleReplot();
}

void TrendsWindow::FullScaleToggled(bool fullScale) {
  for (TrendChart* chart : charts_) chart->SetFullScale(fullScale);
  ScheduleReplot();
}

void TrendsWindow::ShowNearest(int64_t ms) {
  if (const std::optional<std::size_t> nearest = NearestSample(ring_, ms)) ShowSample(*nearest);
}

// Steps through the samples of the span shown, from the one at the cursor or, where it
// has left the span, the nearest one within it.
void TrendsWindow::MoveCursor(TrendChartView::CursorMove move) {
  const std::size_t first = FirstSampleAtOrAfter(ring_, ShownFromMs());
  const std::size_t end = shownToMs_ == std::numeric_limits<int64_t>::max()
                              ? ring_.size()
                              : FirstSampleAtOrAfter(ring_, shownToMs_ + 1);
  if (first >= end) return;
  const std::size_t last = end - 1;
  std::size_t index = cursorMs_ ? std::clamp(*NearestSample(ring_, *cursorMs_), first, last) : last;
  switch (move) {
    case TrendChartView::CursorMove::kBack:
      index = std::max(index, first + 1) - 1;
      break;
    case TrendChartView::CursorMove::kForward:
      index = std::min(index + 1, last);
      break;
    case TrendChartView::CursorMove::kFirst:
      index = first;
      break;
    case TrendChartView::CursorMove::kLast:
      index = last;
      break;
  }
  ShowSample(index);
}

void TrendsWindow::ShowSample(std::size_t index) {
  const TelemetrySample& sample = ring_.at(index);
  cursorMs_ = sample.pcTimeMs;
  for (TrendChart* chart : charts_) chart->SetCursor(cursorMs_);
  QString text = SampleReadout(sample);
  if (const auto gap = GapAfter(ring_, interruptions_, index, nowMs_(), kLongestPauseMs)) {
    text += QLatin1Char('\n') + GapReadout(*gap);
  }
  readout_->setText(text);
  // A screen reader hears of the new sample through the label's name, which Qt announces
  // as changed.
  readout_->setAccessibleName(text);
}

int64_t TrendsWindow::ShownRangeMs() const {
  return int64_t{kRanges[range_->currentIndex()].minutes} * 60'000;
}

int64_t TrendsWindow::ShownFromMs() const {
  return SpanStart(shownToMs_, ShownRangeMs());
}
