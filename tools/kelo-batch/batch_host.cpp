#include "batch_host.h"

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <utility>

#include "escapes.h"
#include "trace.h"

BatchHost::BatchHost(Trace& trace, Profile& profile)
    : trace_(trace), profile_(profile), start_(std::chrono::steady_clock::now()) {}

MessageAnswer BatchHost::ShowMessage(std::string_view text, MessageButtons buttons) {
  MessageAnswer answer = MessageAnswer::kOk;
  if (buttons != MessageButtons::kOk && !answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  trace_.Line("box " + Quote(text) + (answer == MessageAnswer::kOk ? " ok" : " cancel"));
  return answer;
}

void BatchHost::RunEventLoop() {
  for (const std::string& text : std::exchange(later_, {})) ShowMessage(text, MessageButtons::kOk);
}

std::optional<std::string> BatchHost::AskSavePath(std::string_view /*suggestedName*/) {
  std::optional<std::string> path;
  if (!savePaths.empty()) {
    path = savePaths.front();
    savePaths.pop_front();
  }
  trace_.Line("savedialog " + (path ? Quote(*path) : std::string("cancel")));
  return path;
}

std::optional<std::string> BatchHost::AskOpenPath(std::string_view /*extension*/) {
  trace_.Line("opendialog cancel");
  return std::nullopt;
}

int64_t BatchHost::ElapsedMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

int64_t BatchHost::CurrentTime() {
  return static_cast<int64_t>(std::time(nullptr));
}

bool BatchHost::OpenDocument(const std::string& path) {
  // No desktop to open documents with.
  trace_.Line("open " + Quote(path) + " failed");
  return false;
}

std::string BatchHost::CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  return error ? std::string(".") : directory.string();
}

bool BatchHost::StartTimer(int id, unsigned periodMs) {
  timers[id] = periodMs;
  return true;
}

void BatchHost::StopTimer(int id) {
  timers.erase(id);
}

void BatchHost::EndDialog(int result) {
  endResult = result;
}

void BatchHost::Note(std::string_view text) {
  std::cerr << "kelo-batch: " << text << std::endl;
  trace_.Line("note " + Quote(text));
}

void BatchHost::ShowPortLine(std::string_view reason, PortLineTone /*tone*/) {
  if (!reason.empty()) Note(reason);
}

std::optional<int> BatchHost::AskChoice(std::string_view question,
                                        const std::vector<std::string>& options) {
  std::string line = "choice " + Quote(question);
  for (const std::string& option : options) line += " " + Quote(option);
  trace_.Line(line);
  return std::nullopt;
}

int64_t BatchHost::CurrentTimeMs() {
  using std::chrono::system_clock;
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             system_clock::now().time_since_epoch())
      .count();
}
