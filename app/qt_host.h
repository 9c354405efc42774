#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "panel/host.h"
#include "panel/ini_profile.h"

class CKeloConfigurationDlg;
class QDialog;

// The application's name: the title of every message box.
inline constexpr char kApplicationName[] = "kelo-configuration";

// What the panel asks of the framework, done with Qt: modal message boxes and the
// save dialog over the panel's window, precise timers on the one UI thread that call
// the panel's OnTimer, and ending the window's modal run.
class QtHost : public Host {
 public:
  explicit QtHost(std::string profilePath);
  ~QtHost() override;

  // The panel the timers drive and the window the dialogs belong to.
  void Attach(CKeloConfigurationDlg& panel, QDialog& window);

  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
  void ShowMessageLater(std::string_view text) override;
  std::optional<std::string> AskSavePath(std::string_view suggestedName) override;
  std::optional<std::string> AskOpenPath(std::string_view extension) override;
  int64_t MonotonicMicros() override { return clock_.MonotonicMicros(); }
  void SleepUntilMicros(int64_t micros) override { clock_.SleepUntilMicros(micros); }
  int64_t CurrentTime() override;
  int64_t CurrentTimeMs() override;
  Profile& profile() override { return profile_; }
  bool OpenDocument(const std::string& path) override;
  std::string CurrentDirectory() override;
  bool StartTimer(int id, unsigned periodMs) override;
  void StopTimer(int id) override;
  void EndDialog(int result) override;
  void Note(std::string_view text) override;
  void ShowPortLine(std::string_view reason, PortLineTone tone) override;
  std::optional<int> AskChoice(std::string_view question,
                               const std::vector<std::string>& options) override;
  // Where the window shows the reason; unset, it is only said on standard error.
  using PortLineView = std::function<void(const QString&, PortLineTone)>;
  void SetPortLineView(PortLineView view) { portLineView_ = std::move(view); }

 private:
  SystemLinkClock clock_;
  IniFileProfile profile_;
  CKeloConfigurationDlg* panel_ = nullptr;
  QPointer<QDialog> window_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  PortLineView portLineView_;
  // The boxes to show once the event loop is free, and the zero timer that shows them.
  std::vector<std::string> laterTexts_;
  QTimer later_;
};
