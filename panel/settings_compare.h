#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "panel/settings_file.h"

class ControlModel;

// Compare with file: one row per setting, the machine's value (or, without a
// connection, what the panel's controls show) beside the file's.
struct CompareRow {
  std::size_t setting = 0;
  std::string current;
  std::string file;
  bool differs = false;
  // Apply can put the file's value on the setting's control so that Write sends it bit
  // for bit.
  bool settable = false;
  // As the dialog starts: every settable row, but the machine's own calibration when
  // the file may come from another machine.
  bool ticked = false;
  std::string note;  // why a row that differs cannot be set
};

struct Comparison {
  bool withPanel = false;  // no connection: the panel's controls stand in for the machine
  bool otherMachine = false;
  // What the dialog says above the rows: whose file it is, what it is compared with,
  // and the file's own notes (names skipped, values refused).
  std::vector<std::string> headlines;
  std::vector<CompareRow> rows;  // those that differ first, each part in the panel's order
  MachineBlocks fileBlocks;
};

// The connected machine's name (nothing when not read since Connect) beside the file's:
// the file of another machine, or of one not known, keeps its calibration unticked.
Comparison CompareWithMachine(const SettingsFile& file, const MachineBlocks& machine,
                              const std::optional<std::string>& machineName);
Comparison CompareWithPanel(const SettingsFile& file, const ControlModel& controls,
                            const std::optional<std::string>& machineName);

// "4 settings differ, 17 are the same", or that nothing differs.
std::string CompareSummary(const Comparison& comparison);

// Calibration values are the machine's own (Cal Value is the report's Machine Address).
bool IsMachineSpecific(std::size_t setting);
