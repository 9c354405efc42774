#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/msg_stack.h"
#include "panel/control_ids.h"
#include "panel/control_model.h"
#include "panel/host.h"

class SerialPort;

inline constexpr int kFrameSize = 12;
inline constexpr int kLinkTimerId = 1;
inline constexpr int kConnectTimerId = 2;
inline constexpr unsigned kLinkTickMs = 120;
inline constexpr unsigned kConnectTickMs = 1000;

// The five values exchanged with their edits as decimal text, in exchange order.
enum class BoundValue { kCalValue, kSHt, kTMax, kCommPort, kTMin };
inline constexpr std::array kBoundValues = {BoundValue::kCalValue, BoundValue::kSHt,
                                            BoundValue::kTMax, BoundValue::kCommPort,
                                            BoundValue::kTMin};

// The panel: owns every control's state, the bound values, the command stack, the
// frames and the link's flags and pointers. Its operations live in the files of the
// subsystem they belong to (panel/, link/, replies/). Data is plain and public, as
// the link, the commands and the decoders all work on it.
class CKeloConfigurationDlg {
 public:
  CKeloConfigurationDlg(Host& host, SerialPort& port);
  CKeloConfigurationDlg(const CKeloConfigurationDlg&) = delete;
  CKeloConfigurationDlg& operator=(const CKeloConfigurationDlg&) = delete;

  Host& host() { return host_; }
  SerialPort& port() { return port_; }
  ControlModel& controls() { return controls_; }
  const ControlModel& controls() const { return controls_; }

  // --- Panel model (panel/bound_values.cpp, panel/panel_sets.cpp) ---
  // Writes the five bound values into their edits, in exchange order.
  void ShowPanel();
  // Reads the five edits in exchange order; stops at the first bad value, tells the
  // operator and focuses that edit. Values stored before the stop stay stored.
  bool ReadPanel();
  int32_t& Bound(BoundValue which);
  void ApplyStartUpSet();
  void ApplyDefaultSet();

  // --- Application shell (panel/shell.cpp) ---
  // The window exists: combos filled, start-up set, profile, timers.
  bool OnInitDialog();
  void OnTimer(int timerId);
  void OnOK();
  void OnCancel();
  void OnDestroy();
  void OnHelpClicked();

  // --- Operator commands (panel/commands.cpp) ---
  void OnWriteClicked();
  void OnReadClicked();
  void OnSetDateClicked();
  void OnSetServiceClicked();
  void OnSetDefaultsClicked();
  void OnCalValueChanged();
  void OnLocalTempChanged();
  void OnCompressorRunClicked();
  void OnRunTimeChanged();

  // --- Settings report (panel/settings_report.cpp) ---
  void OnSaveAllClicked();

  // --- Link cycle (link/link_cycle.cpp) ---
  void LinkStep();
  void SendNextRequest();
  void ReadReply();

  // --- Request frames (link/request_frames.cpp) ---
  void BuildRequest(int32_t code, int32_t firstByte);

  // --- Connection manager (link/connection.cpp) ---
  void OnConnectClicked();
  void ConnectStep();
  void OnPortNumberChanged();
  void LoadPortNumber();
  void SavePortNumber();
  // The device that the current port number selects.
  std::string SelectedDevice();

  // --- Reply decoding (replies/) ---
  void DispatchReply();
  void ShowFogStatus();
  void OnGetAllClicked();
  void OnClearLogClicked();
  void OnSaveLogClicked();

  // --- Members, in the original's order ---
  int32_t sHtBackup = 0;
  int32_t tMinBackup = 0;
  int32_t tMaxBackup = 0;
  int32_t sHtMinimumRaw = 1;
  bool connectPending = false;
  int32_t connectSecondsLeft = 0;
  int32_t readPointer = 0;
  std::string firmwareRevision = "1vXX";
  bool firstLogReply = true;
  std::array<uint8_t, 17> nameBuffer{};
  int32_t logPointer = 0;
  int32_t nextLogPointer = 0;
  int64_t deviceClock = 0;
  int64_t serviceBaseDate = 0;
  std::string machineName = "Insert Name Here";
  MsgStack msgStack;
  int32_t fogStatusByte = 0;
  int32_t mainsValue = 0;
  int32_t outputFrequency = 0;
  std::array<int32_t, kFrameSize> requestFrame{};
  bool rxInProgress = false;
  std::array<int32_t, kFrameSize> replyFrame{};
  int32_t replyCountdown = 0;
  bool portOpen = false;
  bool txInProgress = false;

  // Bound values, with their construction values.
  int32_t calValue = 157;
  int32_t sHt = 2;
  int32_t tMax = 10;
  int32_t commPort = 2;
  int32_t tMin = 15;

  // The machine's settings (reply 3) and calibration values (reply 7), bytes 3 to 11 as
  // received since the last Connect. Write waits for both, and sends the machine's own
  // bits back for whatever the operator has not changed.
  std::optional<std::array<uint8_t, 9>> machineSettings;
  std::optional<std::array<uint8_t, 9>> machineCalibration;

 private:
  // Write: false, with the operator told, when T_Max or T_Min cannot travel in a byte.
  bool CalibrationFitsItsBytes();

  // Reply handlers (replies/).
  void OnStatusReply();
  void OnSettingsReply();
  void OnCalibrationReply();
  void OnNameFirstHalfReply();
  void OnNameSecondHalfReply();
  void OnServiceDateReply();
  void OnClockReply();
  void OnFirmwareReply();
  void OnCalProgressReply();
  void OnLogPointerReply();
  void OnEventRecordReply(bool readAll);
  void OnTemperatureReply();
  void OnPressureReply();

  // Link cycle helpers (link/link_cycle.cpp).
  void PushPollSet();
  void ShowClockLine();
  void AdvanceProgress(bool& inProgress);
  void TakePortAsLost();
  void SendBreak();

  Host& host_;
  SerialPort& port_;
  ControlModel controls_;
};
