#include "support/fake_host.h"

#include <cerrno>
#include <utility>

namespace {

std::string KeyOf(std::string_view section, std::string_view key) {
  return std::string(section) + "/" + std::string(key);
}

}  // namespace

int MemoryProfile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue) {
  const auto found = values.find(KeyOf(section, key));
  return found == values.end() ? defaultValue : std::stoi(found->second);
}

Outcome MemoryProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return WriteProfileString(section, key, std::to_string(value));
}

Outcome MemoryProfile::WriteProfileString(std::string_view section, std::string_view key,
                                          std::string_view value) {
  if (!writesSucceed) return Failure{ENOSPC, "disk full"};
  values[KeyOf(section, key)] = value;
  return std::nullopt;
}

std::vector<ProfileEntry> MemoryProfile::GetProfileSection(std::string_view section) {
  std::vector<ProfileEntry> entries;
  const std::string prefix = std::string(section) + "/";
  for (const auto& [key, value] : values) {
    if (key.starts_with(prefix)) entries.push_back({key.substr(prefix.size()), value});
  }
  return entries;
}

std::optional<std::string> MemoryProfile::GetProfileString(std::string_view section,
                                                           std::string_view key) {
  const auto found = values.find(KeyOf(section, key));
  if (found == values.end()) return std::nullopt;
  return found->second;
}

MessageAnswer FakeHost::ShowMessage(std::string_view text, MessageButtons buttons) {
  messages.push_back({std::string(text), buttons});
  if (buttons == MessageButtons::kOk || answers.empty()) return MessageAnswer::kOk;
  const MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeHost::RunEventLoop() {
  for (const std::string& text : std::exchange(later, {})) ShowMessage(text, MessageButtons::kOk);
}

std::optional<std::string> FakeHost::AskSavePath(std::string_view suggestedName) {
  suggestedNames.emplace_back(suggestedName);
  if (savePaths.empty()) return std::nullopt;
  auto path = savePaths.front();
  savePaths.pop_front();
  return path;
}

bool FakeHost::OpenDocument(const std::string& path) {
  openedDocuments.push_back(path);
  return openableDocuments.contains(path);
}

bool FakeHost::StartTimer(int id, unsigned periodMs) {
  if (refusedTimers.contains(id)) return false;
  runningTimers[id] = periodMs;
  return true;
}

void FakeHost::StopTimer(int id) {
  runningTimers.erase(id);
}

std::vector<std::string> FakeHost::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.text);
  return texts;
}
