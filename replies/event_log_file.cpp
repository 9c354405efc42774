// Save in the event-log group: the list written as the event log file.

#include "replies/event_log_file.h"

#include <optional>
#include <string_view>

#include "panel/panel_dialog.h"
#include "panel/saved_file.h"

namespace {

constexpr std::string_view kDetailJoin = "          ";

bool IsDetailLine(const std::string& line) {
  return line.size() > 1 && line[1] == '*';
}

}  // namespace

std::string EventLogFileContent(const std::vector<std::string>& lines) {
  std::string content;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    content += lines[i];
    const bool detailFollows = i + 1 < lines.size() && IsDetailLine(lines[i + 1]);
    content += detailFollows ? kDetailJoin : kFileLineEnd;
  }
  return content;
}

void CKeloConfigurationDlg::OnSaveLogClicked() {
  const std::optional<std::string> path = host_.AskSavePath();
  if (!path || path->empty()) return;
  const ControlState* list = controls_.Find(ids::kEventList);
  const std::string content = list == nullptr ? std::string() : EventLogFileContent(list->lines);
  // Written whole or not at all; the list stays as it is either way.
  if (const auto error = SaveFileWhole(*path, content)) {
    host_.ShowMessage(SaveFailedMessage(*path, *error), MessageButtons::kOk);
  }
}
