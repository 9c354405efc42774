#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What the panel lets Write send: S_Ht up to 10, a Cal Value up to 250 (above, Cal Value
// is kept as 0).
inline constexpr int32_t kSHtMax = 10;
inline constexpr int32_t kCalValueMax = 250;

class Host;
class LinkEngine;
class LogFollower;
struct BoundValues;
class TelemetryRecording;
struct PanelState;

// The operator's commands. None of them touches the port: they check the panel and
// queue command codes on the link, which sends the last queued first.
class PanelCommands {
 public:
  PanelCommands(PanelState& panel, LinkEngine& link, LogFollower& log,
                const TelemetryRecording& recording, Host& host);

  void OnWriteClicked();          // 1018
  void OnReadClicked();           // 1020
  void OnSetDateClicked();        // 1042
  void OnSetServiceClicked();     // 1070
  void OnSetDefaultsClicked();    // 1060
  void OnCalValueChanged();       // text of 1002 changed by the operator
  void OnLocalTempChanged();      // selection of 1045
  void OnCompressorRunClicked();  // 1067
  void OnRunTimeChanged();        // selection of 1052
  void OnGetAllClicked();         // 1041
  void OnClearLogClicked();       // 1065
  void OnUndoClearClicked();      // the status bar's Undo, for a while after Clear
  void OnSaveLogClicked();        // 1066
  void OnSaveAllClicked();        // 1050

 private:
  // Write: false, with the operator told, when T_Max or T_Min cannot travel in a byte.
  bool CalibrationFitsItsBytes();
  void RefuseSHt(const BoundValues& before);
  void KeepWhatStandsForTheMachine(const std::array<bool, 4>& unchanged);
  // Asks where to save (suggesting the machine's name, `what` and the date), writes the
  // content whole (never over the file being recorded) and tells the operator of a
  // failure.
  void Save(std::string_view what, const std::function<std::string()>& content);

  PanelState& panel_;
  LinkEngine& link_;
  LogFollower& log_;
  const TelemetryRecording& recording_;
  Host& host_;
};
