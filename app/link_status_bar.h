#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "app/settings_file_actions.h"
#include "panel/panel_dialog.h"

class CKeloConfigurationDlg;
class QAction;
class QLabel;
class QPushButton;
class TrendsView;

// The link's health in one line: as much of it as fits, ending in "…", so that a long
// device name never pushes the buttons out of the bar; the whole text in its tooltip. A
// new text repaints the line and nothing else: unlike a label's, it never lays out the
// bar again, and it changes with every refresh.
class HealthLine : public QWidget {
 public:
  HealthLine();
  void SetText(const QString& text);
  const QString& text() const { return text_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
};

// The strip under the panel: the link's health at a glance, Get All's progress, and the
// commands of a service visit (Trends, Record…, Export CSV…, Service bundle…), which the
// panel's window menu offers as well. It reads the panel on its own timer and when asked
// to after a change, from the event loop: never inside a link tick.
class LinkStatusBar : public QWidget {
  Q_OBJECT

 public:
  // Milliseconds since 1970: the clock the link's health is kept on.
  using Clock = std::function<int64_t()>;

  // Once a second: each refresh repaints the health line, and five a second cost the
  // polling panel half again its CPU.
  static constexpr int kRefreshMs = 1000;
  // How long "Log read: …" stays once Get All has ended.
  static constexpr int kLogReadShownMs = 5000;
  // How long Undo is offered after Clear.
  static constexpr int kUndoShownMs = 10'000;
  // A recording that has had no sample for three poll passes says so.
  static constexpr int64_t kSamplesMissedMs = 3 * kPollPassMs;

  LinkStatusBar(CKeloConfigurationDlg& panel, QWidget& window);

  // Reads the panel now: the health summary, Get All's progress, the recording; hands
  // new telemetry samples to the Trends window; then says so with refreshed().
  void Refresh();
  // A refresh from the event loop, once for however many requests come before it.
  void RefreshSoon() { refreshSoon_.start(); }
  void SetClock(Clock nowMs) { nowMs_ = std::move(nowMs); }

  // Trends, Record… (Stop recording while one goes on), Export CSV…, Service bundle…,
  // Save settings file…, Compare with file….
  QList<QAction*> commands() const {
    return QList<QAction*>{trends_, record_, exportCsv_, bundle_} + settingsFiles_->actions();
  }
  SettingsFileActions& settingsFiles() const { return *settingsFiles_; }
  // Opens the Trends window, or raises the one already open.
  void ShowTrends();
  // Once opened: the Trends window, which the module made.
  QWidget* trendsWindow() const;

  // The port chosen changed: the device is looked up again at once.
  void DeviceChanged();
  // The event list was emptied: after Clear, Undo is offered for a while.
  void OfferUndoClear();
  QAction* undoClear() const { return undoClear_; }

  // The link's state in words while it is not live, the health summary (its whole text,
  // however much of it fits), the log's progress and the recording.
  QLabel* linkState() const { return linkState_; }
  const HealthLine* summary() const { return summary_; }
  QLabel* logProgress() const { return logProgress_; }
  QLabel* recordingIndicator() const { return recording_; }

 signals:
  void refreshed();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QAction* AddCommand(const QString& text, void (LinkStatusBar::*run)(), const QKeySequence& keys);
  void BuildRow();
  void ShowHealth();
  const std::string& Device();
  void ShowLogProgress();
  void ShowLogText(const QString& text);
  void ShowRecording();
  void FeedTrends();
  // Loads the Trends module and opens its window; or tells why it cannot.
  TrendsView* OpenTrends();
  void Record();
  void ExportCsv();
  void SaveBundle();
  void UndoClear();
  void ShowUndo(bool offered);

  CKeloConfigurationDlg& panel_;
  QWidget& window_;
  Clock nowMs_;
  QAction* trends_ = nullptr;
  QAction* record_ = nullptr;
  QAction* exportCsv_ = nullptr;
  QAction* bundle_ = nullptr;
  QAction* undoClear_ = nullptr;
  SettingsFileActions* settingsFiles_ = nullptr;
  QPushButton* undoButton_ = nullptr;
  QLabel* linkState_ = nullptr;
  HealthLine* summary_ = nullptr;
  QLabel* logProgress_ = nullptr;
  QLabel* recording_ = nullptr;
  TrendsView* trendsView_ = nullptr;
  QTimer refreshTimer_;
  QTimer refreshSoon_;
  QTimer logReadShown_;
  QTimer undoShown_;
  bool readingLog_ = false;
  int recordsSeen_ = 0;
  uint64_t samplesSeen_ = 0;
  int64_t recordingSinceMs_ = 0;
  // The device of the port, looked up in the profile again only when the port number,
  // the port chosen or the link's state changes, not on every refresh.
  std::string device_;
  int32_t devicePort_ = -1;
  bool deviceWhileOpen_ = false;
};
