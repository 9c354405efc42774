#include "app/link_status_bar.h"

#include <QAction>
#include <QBoxLayout>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <optional>
#include <variant>

#include "app/palette_colours.h"
#include "app/text_codec.h"
#include "app/trends_view.h"
#include "panel/module_loader.h"
#include "panel/panel_dialog.h"
#include "panel/service_texts.h"

namespace {

QPushButton* BarButton(const QString& text) {
  auto* button = new QPushButton(text);
  // Reached by Tab after the original panel's controls, and never by a click, so that the
  // original's first focus and tab order stay as they are.
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

HealthLine::HealthLine() {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setAccessibleDescription(tr("Link health"));
}

void HealthLine::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  setToolTip(text);
  // Read and announced whole, however much of it fits.
  setAccessibleName(text);
  update();
}

QSize HealthLine::sizeHint() const {
  return {0, fontMetrics().height()};
}

void HealthLine::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect area = contentsRect();
  const QString shown = fontMetrics().elidedText(text_, Qt::ElideRight, area.width());
  style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        shown, foregroundRole());
}

LinkStatusBar::LinkStatusBar(CKeloConfigurationDlg& panel, QWidget& window)
    : QWidget(&window),
      panel_(panel),
      window_(window),
      nowMs_([] { return QDateTime::currentMSecsSinceEpoch(); }),
      settingsFiles_(new SettingsFileActions(panel, window, this)) {
  trends_ = AddCommand(tr("Trends"), &LinkStatusBar::ShowTrends, Qt::CTRL | Qt::Key_T);
  record_ = AddCommand(tr("Record…"), &LinkStatusBar::Record, Qt::CTRL | Qt::Key_R);
  exportCsv_ = AddCommand(tr("Export CSV…"), &LinkStatusBar::ExportCsv, Qt::CTRL | Qt::Key_E);
  bundle_ = AddCommand(tr("Service bundle…"), &LinkStatusBar::SaveBundle, Qt::CTRL | Qt::Key_B);
  // Ctrl+Z reaches it wherever the focus is, but an edit keeps its own undo.
  undoClear_ = AddCommand(tr("Undo"), &LinkStatusBar::UndoClear, QKeySequence::Undo);
  undoClear_->setEnabled(false);
  BuildRow();

  connect(&refreshTimer_, &QTimer::timeout, this, &LinkStatusBar::Refresh);
  refreshTimer_.start(kRefreshMs);
  refreshSoon_.setSingleShot(true);
  refreshSoon_.setInterval(0);
  connect(&refreshSoon_, &QTimer::timeout, this, &LinkStatusBar::Refresh);
  undoShown_.setSingleShot(true);
  undoShown_.setInterval(kUndoShownMs);
  connect(&undoShown_, &QTimer::timeout, this, [this] { ShowUndo(false); });
  logReadShown_.setSingleShot(true);
  logReadShown_.setInterval(kLogReadShownMs);
  connect(&logReadShown_, &QTimer::timeout, this, [this] { ShowLogText(QString()); });
  Refresh();
}

QAction* LinkStatusBar::AddCommand(const QString& text, void (LinkStatusBar::*run)(),
                                   const QKeySequence& keys) {
  auto* action = new QAction(text, this);
  connect(action, &QAction::triggered, this, run);
  // Shown in the menus, and working anywhere in the window with no menu open.
  action->setShortcut(keys);
  addAction(action);
  return action;
}

void LinkStatusBar::BuildRow() {
  linkState_ = new QLabel;
  linkState_->setAccessibleDescription(tr("Link state"));
  ShowAsWarning(*linkState_);
  linkState_->hide();
  summary_ = new HealthLine;
  logProgress_ = new QLabel;
  logProgress_->setAccessibleDescription(tr("Event log progress"));
  logProgress_->hide();
  recording_ = new QLabel(tr("● Recording"));
  recording_->setAccessibleDescription(tr("Recording"));
  ShowAsWarning(*recording_);
  recording_->hide();

  undoButton_ = BarButton(tr("Undo"));
  undoButton_->setToolTip(tr("Put back the event log lines Clear took away"));
  undoButton_->setAccessibleName(tr("Undo Clear"));
  undoButton_->hide();
  connect(undoButton_, &QPushButton::clicked, undoClear_, &QAction::trigger);
  QPushButton* trends = BarButton(trends_->text());
  connect(trends, &QPushButton::clicked, trends_, &QAction::trigger);
  QPushButton* service = BarButton(tr("Service"));
  service->setToolTip(
      tr("Record the telemetry, export it, save a service bundle, or save or "
         "compare the machine's settings"));
  auto* menu = new QMenu(service);
  menu->addActions({record_, exportCsv_, bundle_});
  menu->addActions(settingsFiles_->actions());
  service->setMenu(menu);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 3, 6, 3);
  row->setSpacing(8);
  row->addWidget(linkState_);
  row->addWidget(summary_, 1);
  row->addWidget(settingsFiles_->verdict(), 1);
  row->addWidget(logProgress_);
  row->addWidget(undoButton_);
  row->addWidget(recording_);
  row->addWidget(trends);
  row->addWidget(service);
}

void LinkStatusBar::Refresh() {
  ShowHealth();
  ShowLogProgress();
  ShowRecording();
  FeedTrends();
  settingsFiles_->Refresh();
  emit refreshed();
}

void LinkStatusBar::ShowHealth() {
  const int64_t now = nowMs_();
  const QString words = FromCore(panel_.LinkStateWords(now));
  if (words != linkState_->text()) {
    linkState_->setText(words);
    linkState_->setVisible(!words.isEmpty());
  }
  summary_->SetText(FromCore(HealthSummary(Device(), panel_.health(), now)));
}

void LinkStatusBar::OfferUndoClear() {
  ShowUndo(panel_.log().canUndoClear());
}

void LinkStatusBar::ShowUndo(bool offered) {
  undoClear_->setEnabled(offered);
  undoButton_->setVisible(offered);
  if (offered) {
    undoShown_.start();
  } else {
    undoShown_.stop();
  }
}

void LinkStatusBar::UndoClear() {
  panel_.commands().OnUndoClearClicked();
  ShowUndo(false);
}

void LinkStatusBar::DeviceChanged() {
  devicePort_ = -1;
  RefreshSoon();
}

const std::string& LinkStatusBar::Device() {
  const int32_t port = panel_.state().values.commPort;
  const bool open = panel_.link().IsOpen();
  if (port != devicePort_ || open != deviceWhileOpen_) {
    device_ = panel_.connection().SelectedDevice();
    devicePort_ = port;
    deviceWhileOpen_ = open;
  }
  return device_;
}

void LinkStatusBar::ShowLogProgress() {
  if (const std::optional<int> read = panel_.GetAllRecordsRead()) {
    readingLog_ = true;
    recordsSeen_ = *read;
    logReadShown_.stop();
    ShowLogText(tr("Reading log: %1 of %2 records · live values paused")
                    .arg(*read)
                    .arg(LogFollower::kLogRecords));
  } else if (readingLog_) {
    readingLog_ = false;
    // A Connect during Get All starts the follower's count anew, while the list keeps
    // the records already read: the larger number is what was read.
    const int read = std::max(recordsSeen_, panel_.log().recordsRead());
    ShowLogText(tr("Log read: %1 records").arg(read));
    logReadShown_.start();
  }
}

void LinkStatusBar::ShowLogText(const QString& text) {
  logProgress_->setText(text);
  logProgress_->setVisible(!text.isEmpty());
}

// A recording that gets no samples says since when, once three passes have brought none.
void LinkStatusBar::ShowRecording() {
  const TelemetryRecording& telemetry = panel_.telemetry();
  const bool recording = telemetry.recording();
  record_->setText(recording ? tr("Stop recording") : tr("Record…"));
  recording_->setVisible(recording);
  recording_->setToolTip(recording ? FromCore(telemetry.recordingPath()) : QString());
  if (!recording) {
    recordingSinceMs_ = 0;
    return;
  }
  const int64_t now = nowMs_();
  if (recordingSinceMs_ == 0) recordingSinceMs_ = now;
  const TelemetryRing& samples = telemetry.samples();
  const int64_t last = std::max(recordingSinceMs_, samples.empty() ? 0 : samples.newest().pcTimeMs);
  if (now - last > kSamplesMissedMs) {
    const QString since = QDateTime::fromMSecsSinceEpoch(last).toString(QStringLiteral("HH:mm:ss"));
    recording_->setText(tr("● Recording, no samples since %1").arg(since));
  } else {
    recording_->setText(tr("● Recording"));
  }
}

void LinkStatusBar::FeedTrends() {
  const uint64_t added = panel_.telemetry().samples().added();
  if (added == samplesSeen_) return;
  samplesSeen_ = added;
  if (trendsView_ != nullptr) trendsView_->SamplesAdded();
}

QWidget* LinkStatusBar::trendsWindow() const {
  return trendsView_ == nullptr ? nullptr : &trendsView_->widget();
}

void LinkStatusBar::ShowTrends() {
  if (trendsView_ == nullptr) trendsView_ = OpenTrends();
  if (trendsView_ == nullptr) return;
  QWidget& shown = trendsView_->widget();
  shown.show();
  shown.raise();
  shown.activateWindow();
}

TrendsView* LinkStatusBar::OpenTrends() {
  // Qt Charts comes with the module, the first time the window opens.
  const std::variant<OpenTrendsFunction, Failure> found =
      ModuleFunction<OpenTrendsFunction>(kTrendsModule, kOpenTrendsSymbol);
  if (const Failure* failure = std::get_if<Failure>(&found)) {
    panel_.service().TellModuleFailure("Trends", *failure);
    return nullptr;
  }
  const OpenTrendsFunction open = std::get<OpenTrendsFunction>(found);
  const TelemetryRecording& telemetry = panel_.telemetry();
  const TrendsView::Clock clock = [this] { return nowMs_(); };
  // A child of the panel's window, so that the panel's modal run does not block it.
  return open(&telemetry.samples(), &telemetry.interruptions(), &clock, &window_);
}

void LinkStatusBar::Record() {
  panel_.service().OnRecordClicked();
  ShowRecording();
}

void LinkStatusBar::ExportCsv() {
  panel_.service().OnExportCsvClicked();
}

void LinkStatusBar::SaveBundle() {
  panel_.service().OnServiceBundleClicked();
}

void LinkStatusBar::paintEvent(QPaintEvent* /*event*/) {
  // A rule between the panel and the bar.
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(0, 0, width() - 1, 0);
}
