#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "panel/host.h"
#include "panel/profile.h"
#include "support/fake_link.h"

// A profile held in memory.
class MemoryProfile : public Profile {
 public:
  int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
  Outcome WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Outcome WriteProfileString(std::string_view section, std::string_view key,
                             std::string_view value) override;
  std::vector<ProfileEntry> GetProfileSection(std::string_view section) override;
  std::optional<std::string> GetProfileString(std::string_view section,
                                              std::string_view key) override;

  std::map<std::string, std::string> values;  // "Section/Key" -> text
  bool writesSucceed = true;  // false: every write fails with the reason "disk full"
};

// A host with scripted answers and a controllable clock.
class FakeHost : public Host {
 public:
  struct Message {
    std::string text;
    MessageButtons buttons;
    bool operator==(const Message&) const = default;
  };

  MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
  void ShowMessageLater(std::string_view text) override { later.emplace_back(text); }
  // The event loop's turn after a tick: the boxes asked for later are shown.
  void RunEventLoop();
  std::optional<std::string> AskSavePath(std::string_view suggestedName) override;
  std::optional<std::string> AskOpenPath(std::string_view /*extension*/) override {
    return std::exchange(openPath, std::nullopt);
  }
  int64_t MonotonicMicros() override { return clock.MonotonicMicros(); }
  void SleepUntilMicros(int64_t until) override { clock.SleepUntilMicros(until); }
  int64_t CurrentTime() override { return now; }
  Profile& profile() override { return profileStore; }
  bool OpenDocument(const std::string& path) override;
  std::string CurrentDirectory() override { return currentDirectory; }
  bool StartTimer(int id, unsigned periodMs) override;
  void StopTimer(int id) override;
  void EndDialog(int result) override { endResult = result; }

  void Note(std::string_view text) override { notes.emplace_back(text); }
  void ShowPortLine(std::string_view reason, PortLineTone tone) override {
    portLines.emplace_back(reason);
    portLineTones.push_back(tone);
  }
  std::optional<int> AskChoice(std::string_view question,
                               const std::vector<std::string>& options) override {
    choices.push_back({std::string(question), options});
    return choiceAnswer;
  }

  std::vector<std::string> MessageTexts() const;

  // Answers for OK/Cancel boxes, in order; OK when none is queued.
  std::deque<MessageAnswer> answers;
  // Paths the save dialog returns, in order; nothing (cancel) when none is queued.
  std::deque<std::optional<std::string>> savePaths;
  std::vector<std::string> suggestedNames;  // what each save dialog suggested
  std::optional<std::string> openPath;      // what the next open dialog returns
  std::vector<Message> messages;
  std::vector<std::string> later;  // boxes waiting for the event loop
  std::vector<std::string> notes;
  std::vector<std::string> portLines;
  std::vector<PortLineTone> portLineTones;
  struct Choice {
    std::string question;
    std::vector<std::string> options;
  };
  std::vector<Choice> choices;
  std::optional<int> choiceAnswer;  // what every choice is answered  // each change of the reason
                                    // shown, "" when cleared
  FakeLinkClock clock;
  int64_t now = 1'700'000'000;
  MemoryProfile profileStore;
  std::set<std::string> openableDocuments;
  std::vector<std::string> openedDocuments;
  std::string currentDirectory = "/work/site";
  std::set<int> refusedTimers;
  std::map<int, unsigned> runningTimers;
  std::optional<int> endResult;
};
