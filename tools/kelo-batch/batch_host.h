#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "panel/host.h"

class Trace;

// The host of the headless panel: message boxes and save dialogs answered from the
// script, the real clocks, the user's profile.
class BatchHost : public Host {
 public:
  BatchHost(Trace& trace, Profile& profile);

  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
  void ShowMessageLater(std::string_view text) override { later_.emplace_back(text); }
  // The event loop's turn after a tick: the boxes asked for later are shown (traced).
  void RunEventLoop();
  std::optional<std::string> AskSavePath(std::string_view suggestedName) override;
  // Scripts name the file to open in the action itself: traced as `opendialog cancel`.
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
  // On standard error, and in the trace as `note "…"`.
  void Note(std::string_view text) override;
  // A reason is traced as a note too; its going away is not.
  void ShowPortLine(std::string_view reason, PortLineTone tone) override;
  // Traced as `choice "QUESTION" "OPTION" …`, and declined: a script has no answer.
  std::optional<int> AskChoice(std::string_view question,
                               const std::vector<std::string>& options) override;

  // Milliseconds on the steady clock since this host was made.
  virtual int64_t ElapsedMs() const;

  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::string>> savePaths;
  std::map<int, unsigned> timers;
  std::optional<int> endResult;

 private:
  SystemLinkClock clock_;
  std::vector<std::string> later_;
  Trace& trace_;
  Profile& profile_;
  std::chrono::steady_clock::time_point start_;
};
