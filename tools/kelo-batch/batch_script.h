#pragma once

#include <istream>
#include <string>
#include <variant>
#include <vector>

// A script of operator actions: one `at T ACTION` a line, performed after link tick T
// has been handled, in file order.

enum class ActionKind {
  kClick,
  kSet,
  kType,
  kSelect,
  kEnterText,
  kAnswerOk,
  kAnswerCancel,
  kSavePath,
  kSaveCancel,
  kDump,
  kQuit,
  kRecord,           // record PATH: the telemetry, each sample as it comes
  kRecordStop,       // record stop
  kExportCsv,        // exportcsv PATH: the telemetry the panel holds
  kBundle,           // bundle PATH: the service bundle
  kSaveSettings,     // savesettings PATH: the machine's blocks as a settings file
  kCompareSettings,  // comparesettings PATH: the file against the machine, traced
  kLoadSettings,     // loadsettings PATH [all|NAME,NAME…]: applied as Apply does
};

struct Action {
  int line = 0;
  long tick = 0;
  ActionKind kind = ActionKind::kDump;
  int id = 0;
  int index = 0;
  std::string text;
  std::vector<std::string> names;  // loadsettings: the settings named; empty for all
};

struct ScriptError {
  int line;
  std::string message;
};

using ParsedScript = std::variant<std::vector<Action>, ScriptError>;

ParsedScript ParseScript(std::istream& in);
