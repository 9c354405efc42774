#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "panel/settings_compare.h"

class Host;
class LinkEngine;
class PanelCommands;
class TelemetryRecording;
struct PanelState;

// The machine's blocks as received since Connect, as a settings file; nothing before
// both have arrived.
std::optional<std::string> MachineSettingsFile(const PanelState& panel, int64_t now);

// The operator's commands on settings files: Save settings file…, Compare with file…,
// and Apply, which puts a file's values on the panel's controls as the operator's own
// changes, so that Write sends them and nothing else is sent.
class SettingsFileCommands {
 public:
  SettingsFileCommands(PanelState& panel, const LinkEngine& link, PanelCommands& commands,
                       const TelemetryRecording& recording, Host& host);

  // The machine's blocks as last received, not the panel's controls.
  void OnSaveSettingsFileClicked();
  void SaveSettingsFile(const std::string& path);

  // The file against the machine's blocks, or without a connection against the panel's
  // controls. Nothing when the operator cancelled or was told why not.
  std::optional<Comparison> OnCompareWithFileClicked();
  std::optional<Comparison> CompareWithFile(const std::string& path);

  // Puts the file's values of the given settings on their controls; a setting whose row
  // cannot be set is passed over.
  void Apply(const Comparison& comparison, const std::vector<std::size_t>& settings);
  void ApplyAndWrite(const Comparison& comparison, const std::vector<std::size_t>& settings);

  // The named settings of the file, or with none named (or "all") those Compare starts
  // ticked. Names that cannot be applied are told as notes.
  void LoadSettings(const std::string& path, const std::vector<std::string>& names);

 private:
  // False, with the operator told, while the link is open and the machine's blocks have
  // not both arrived since Connect.
  bool ReadyToCompare();
  void Put(std::size_t setting, const MachineBlocks& file);
  void FollowUps(const std::vector<bool>& applied, const MachineBlocks& file);

  PanelState& panel_;
  const LinkEngine& link_;
  PanelCommands& commands_;
  const TelemetryRecording& recording_;
  Host& host_;
};
