#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/failure.h"

class ConnectionManager;
class Host;
class LinkHealth;
class TelemetryRecording;
struct PanelState;

// The operator's commands of a service visit: recording the telemetry to a CSV file,
// exporting what the panel holds, and one zip file for the service centre. Each asks
// where to save, or is given the path (kelo-batch), and tells the operator of a failure.
class ServiceCommands {
 public:
  ServiceCommands(PanelState& panel, TelemetryRecording& recording, const LinkHealth& health,
                  const ConnectionManager& connection, Host& host);

  // Record… starts a recording, or stops the one going on.
  void OnRecordClicked();
  void OnExportCsvClicked();
  void OnServiceBundleClicked();
  // What the panel loads on first use (the Trends window) could not be loaded: tells
  // which file and why.
  void TellModuleFailure(std::string_view what, const Failure& failure);

  void StartRecording(const std::string& path);
  void StopRecording();
  void ExportCsv(const std::string& path);
  void SaveBundle(const std::string& path);

  // The bundle's files: the settings report, the event log, the telemetry of the ring,
  // link-health.txt, identity.txt and, once the machine's blocks have arrived,
  // settings.brumo, as a zip archive.
  std::string BundleArchive(std::string* error) const;

 private:
  void AskAndDo(std::string_view what, std::string_view extension,
                const std::function<void(const std::string&)>& action);
  void TellWriteFailure(const std::string& path, const std::string& reason);

  PanelState& panel_;
  TelemetryRecording& recording_;
  const LinkHealth& health_;
  const ConnectionManager& connection_;
  Host& host_;
};
