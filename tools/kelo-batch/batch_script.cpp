#include "batch_script.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "escapes.h"

namespace {

// Splits off the next blank-separated word.
std::string_view NextWord(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const std::size_t end = rest.find(' ');
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  return word;
}

template <typename Number>
std::optional<Number> ToNumber(std::string_view word) {
  Number value{};
  const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || stop != word.data() + word.size()) {
    return std::nullopt;
  }
  return value;
}

// TEXT is the rest of the line after one space.
std::optional<std::string> TextArgument(std::string_view rest) {
  if (!rest.empty()) rest.remove_prefix(1);
  return Unescape(rest);
}

struct Verb {
  std::string_view name;
  ActionKind kind;
  bool takesId;
};

constexpr Verb kVerbs[] = {
    {"click", ActionKind::kClick, true},
    {"set", ActionKind::kSet, true},
    {"type", ActionKind::kType, true},
    {"select", ActionKind::kSelect, true},
    {"entertext", ActionKind::kEnterText, true},
    {"answer", ActionKind::kAnswerOk, false},
    {"savepath", ActionKind::kSavePath, false},
    {"savecancel", ActionKind::kSaveCancel, false},
    {"dump", ActionKind::kDump, false},
    {"quit", ActionKind::kQuit, false},
    {"record", ActionKind::kRecord, false},
    {"exportcsv", ActionKind::kExportCsv, false},
    {"bundle", ActionKind::kBundle, false},
    {"savesettings", ActionKind::kSaveSettings, false},
    {"comparesettings", ActionKind::kCompareSettings, false},
    {"loadsettings", ActionKind::kLoadSettings, false},
};

// loadsettings: a path (one word, escapes allowed), then "all" or names apart by commas.
std::variant<Action, std::string> ParseLoad(Action action, std::string_view rest) {
  auto path = Unescape(NextWord(rest));
  if (!path || path->empty()) return std::string("expected a path");
  action.text = std::move(*path);
  if (!rest.empty()) rest.remove_prefix(1);
  if (rest == "all") rest = {};
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    action.names.emplace_back(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return action;
}

std::variant<Action, std::string> ParseAction(std::string_view rest) {
  Action action;
  const std::string_view verbName = NextWord(rest);
  const Verb* verb = nullptr;
  for (const Verb& v : kVerbs) {
    if (v.name == verbName) verb = &v;
  }
  if (verb == nullptr) return "unknown action '" + std::string(verbName) + "'";
  action.kind = verb->kind;
  if (verb->takesId) {
    const auto id = ToNumber<int>(NextWord(rest));
    if (!id) return std::string("expected a control ID");
    action.id = *id;
  }
  switch (action.kind) {
    case ActionKind::kSet:
    case ActionKind::kType:
    case ActionKind::kEnterText:
    case ActionKind::kSavePath:
    case ActionKind::kRecord:
    case ActionKind::kExportCsv:
    case ActionKind::kBundle:
    case ActionKind::kSaveSettings:
    case ActionKind::kCompareSettings: {
      auto text = TextArgument(rest);
      if (!text) return std::string("malformed escape in text");
      const bool wantsPath = action.kind != ActionKind::kSet && action.kind != ActionKind::kType &&
                             action.kind != ActionKind::kEnterText;
      if (wantsPath && text->empty()) return std::string("expected a path");
      if (action.kind == ActionKind::kRecord && *text == "stop")
        action.kind = ActionKind::kRecordStop;
      action.text = std::move(*text);
      return action;
    }
    case ActionKind::kLoadSettings:
      return ParseLoad(std::move(action), rest);
    case ActionKind::kSelect: {
      const auto index = ToNumber<int>(NextWord(rest));
      if (!index) return std::string("expected an entry number");
      action.index = *index;
      break;
    }
    case ActionKind::kAnswerOk: {
      const std::string_view answer = NextWord(rest);
      if (answer == "cancel") {
        action.kind = ActionKind::kAnswerCancel;
      } else if (answer != "ok") {
        return std::string("expected 'ok' or 'cancel'");
      }
      break;
    }
    default:
      break;
  }
  if (!NextWord(rest).empty()) return std::string("unexpected words at the end of the line");
  return action;
}

}  // namespace

ParsedScript ParseScript(std::istream& in) {
  std::vector<Action> actions;
  std::string line;
  int number = 0;
  long lastTick = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string_view rest = line;
    const std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string_view::npos || rest[first] == '#') continue;
    rest.remove_prefix(first);
    if (NextWord(rest) != "at") return ScriptError{number, "expected 'at T ACTION'"};
    const auto tick = ToNumber<long>(NextWord(rest));
    if (!tick || *tick < 0) return ScriptError{number, "expected a link tick number"};
    if (*tick < lastTick) return ScriptError{number, "link tick numbers must not decrease"};
    lastTick = *tick;
    auto parsed = ParseAction(rest);
    if (auto* message = std::get_if<std::string>(&parsed)) return ScriptError{number, *message};
    Action action = std::get<Action>(std::move(parsed));
    action.line = number;
    action.tick = *tick;
    actions.push_back(std::move(action));
  }
  return actions;
}
