#include "panel/service_commands.h"

#include <optional>
#include <vector>

#include "panel/connection.h"
#include "panel/event_log_file.h"
#include "panel/file_names.h"
#include "panel/host.h"
#include "panel/saved_file.h"
#include "panel/service_texts.h"
#include "panel/settings_file_commands.h"
#include "panel/settings_report.h"
#include "panel/telemetry_csv.h"
#include "panel/telemetry_recording.h"
#include "panel/zip_bundle.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

ServiceCommands::ServiceCommands(PanelState& panel, TelemetryRecording& recording,
                                 const LinkHealth& health, const ConnectionManager& connection,
                                 Host& host)
    : panel_(panel), recording_(recording), health_(health), connection_(connection), host_(host) {}

void ServiceCommands::OnRecordClicked() {
  if (recording_.recording()) return StopRecording();
  AskAndDo("recording", ".csv", [this](const std::string& path) { StartRecording(path); });
}

void ServiceCommands::OnExportCsvClicked() {
  AskAndDo("telemetry", ".csv", [this](const std::string& path) { ExportCsv(path); });
}

void ServiceCommands::OnServiceBundleClicked() {
  AskAndDo("", ".zip", [this](const std::string& path) { SaveBundle(path); });
}

void ServiceCommands::StartRecording(const std::string& path) {
  if (const auto failure = recording_.StartRecording(path)) {
    TellWriteFailure(path, failure->reason);
  }
}

void ServiceCommands::StopRecording() {
  const std::string path = recording_.recordingPath();
  if (const auto failure = recording_.StopRecording()) TellWriteFailure(path, failure->reason);
}

void ServiceCommands::ExportCsv(const std::string& path) {
  if (const auto failure = recording_.SaveOutside(path, TelemetryCsv(recording_.samples()))) {
    TellWriteFailure(path, failure->reason);
  }
}

void ServiceCommands::SaveBundle(const std::string& path) {
  std::string error;
  const std::string archive = BundleArchive(&error);
  if (!error.empty()) return TellWriteFailure(path, error);
  if (const auto failure = recording_.SaveOutside(path, archive)) {
    TellWriteFailure(path, failure->reason);
  }
}

std::string ServiceCommands::BundleArchive(std::string* error) const {
  const int64_t now = host_.CurrentTime();
  const int64_t nowMs = host_.CurrentTimeMs();
  const ControlState* list = panel_.controls.Find(ids::kEventList);
  std::vector<BundleEntry> entries = {
      {"settings.txt", SettingsReport(panel_)},
      {"event-log.txt", list == nullptr ? std::string() : EventLogFileContent(list->lines)},
      {"telemetry.csv", TelemetryCsv(recording_.samples())},
      {"link-health.txt", HealthReport(health_, nowMs)},
      {"identity.txt", IdentityReport({panel_.machine, health_, panel_.values.commPort,
                                       connection_.SelectedDevice(), now})},
  };
  // The machine's blocks, once both have arrived since Connect.
  if (std::optional<std::string> settings = MachineSettingsFile(panel_, now)) {
    entries.push_back({"settings.brumo", std::move(*settings)});
  }
  std::string reason;
  const std::optional<std::string> archive = ZipArchive(entries, now, &reason);
  if (!archive && error != nullptr) *error = reason.empty() ? "the archive failed" : reason;
  return archive.value_or(std::string());
}

void ServiceCommands::AskAndDo(std::string_view what, std::string_view extension,
                               const std::function<void(const std::string&)>& action) {
  const std::optional<std::string> path = host_.AskSavePath(
      SuggestedFileName(panel_.machine.machineName, what, host_.CurrentTime(), extension));
  if (!path || path->empty()) return;
  action(*path);
}

void ServiceCommands::TellModuleFailure(std::string_view what, const Failure& failure) {
  host_.ShowMessage(std::string(what) + " cannot open: " + failure.reason, MessageButtons::kOk);
}

void ServiceCommands::TellWriteFailure(const std::string& path, const std::string& reason) {
  host_.ShowMessage(SaveFailedMessage(path, Failure{0, reason}), MessageButtons::kOk);
}
