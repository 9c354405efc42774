// The event log file that Save in the event-log group writes from the list.

#include "panel/event_log_file.h"

#include <string_view>

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
