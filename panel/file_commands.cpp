// The operator's commands on the event log and the files: Get All, Clear, Save (the
// event log file) and Save All (the settings report).

#include <functional>
#include <optional>
#include <string>

#include "panel/commands.h"
#include "panel/event_log_file.h"
#include "panel/file_names.h"
#include "panel/host.h"
#include "panel/saved_file.h"
#include "panel/settings_report.h"
#include "panel/telemetry_recording.h"
#include "replies/log_follower.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

void PanelCommands::OnGetAllClicked() {
  log_.GetAll();
}

void PanelCommands::OnClearLogClicked() {
  log_.ClearList();
}

void PanelCommands::OnUndoClearClicked() {
  log_.UndoClear();
}

void PanelCommands::OnSaveLogClicked() {
  Save("event log", [this] {
    const ControlState* list = panel_.controls.Find(ids::kEventList);
    return list == nullptr ? std::string() : EventLogFileContent(list->lines);
  });
}

void PanelCommands::OnSaveAllClicked() {
  Save("settings", [this] { return SettingsReport(panel_); });
}

void PanelCommands::Save(std::string_view what, const std::function<std::string()>& content) {
  const std::optional<std::string> path =
      host_.AskSavePath(SuggestedFileName(panel_.machine.machineName, what, host_.CurrentTime()));
  if (!path || path->empty()) return;
  // The content as the panel is when the dialog closes (the link goes on behind it).
  // Written whole or not at all; the panel stays as it is either way.
  if (const auto failure = recording_.SaveOutside(*path, content())) {
    host_.ShowMessage(SaveFailedMessage(*path, *failure), MessageButtons::kOk);
  }
}
