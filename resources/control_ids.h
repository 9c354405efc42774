#pragma once

// Control IDs of the panel, named by what each control is to the operator.
namespace ids {

inline constexpr int kExitButton = 1;
inline constexpr int kCalValueEdit = 1002;
inline constexpr int kSHtEdit = 1003;
inline constexpr int kTMinEdit = 1004;
inline constexpr int kTMaxEdit = 1005;
inline constexpr int kMonitorButton = 1007;

// FOG STATUS indicators, one per bit of the fog status byte.
inline constexpr int kReadyIndicator = 1008;    // bit 0
inline constexpr int kMainsOkIndicator = 1009;  // bit 1
inline constexpr int kReady2Indicator = 1010;   // bit 2
inline constexpr int kRdmIndicator = 1013;      // bit 5, fluid status in the report
inline constexpr int kFluidOkIndicator = 1014;  // bit 6
inline constexpr int kDmxIndicator = 1015;      // bit 7, system status in the report
inline constexpr int kHeatIndicator = 1016;     // bit 4
inline constexpr int kHeat2Indicator = 1017;    // bit 3

inline constexpr int kWriteButton = 1018;
inline constexpr int kReadButton = 1020;
inline constexpr int kLinkProgress = 1021;  // Write/Read progress
inline constexpr int kCalProgress = 1022;   // calibration progress
inline constexpr int kPortEdit = 1024;
inline constexpr int kConnectButton = 1026;

// Contact and run flag check boxes (most of them hidden).
inline constexpr int kAuxOutNcCheck = 1027;
inline constexpr int kAuxOutLatchingCheck = 1028;
inline constexpr int kRefCalCheck = 1029;
inline constexpr int kFaultSuppressCheck = 1030;
inline constexpr int kMainFaultNcCheck = 1031;
inline constexpr int kMainFaultLatchingCheck = 1032;
inline constexpr int kTrigRelayNcCheck = 1033;
inline constexpr int kIdleEnableCheck = 1034;
inline constexpr int kUsbSaiOffCheck = 1035;
inline constexpr int kPumpRunCheck = 1058;
inline constexpr int kCompressorRunCheck = 1067;

inline constexpr int kGetAllButton = 1041;
inline constexpr int kSetDateButton = 1042;
inline constexpr int kLocalTempCombo = 1045;  // entry i means 17 + i degrees
inline constexpr int kPumpMaxCombo = 1046;
inline constexpr int kSaveAllButton = 1050;
inline constexpr int kHelpButton = 1051;
inline constexpr int kRunTimeCombo = 1052;  // entry i means 10 x i
inline constexpr int kEventList = 1055;
inline constexpr int kUnusedCombo = 1057;
inline constexpr int kNameEdit = 1059;
inline constexpr int kSetDefaultsButton = 1060;
inline constexpr int kEvapFanCombo = 1061;
inline constexpr int kPumpMinCombo = 1062;
inline constexpr int kClockLine = 1063;
inline constexpr int kClearLogButton = 1065;
inline constexpr int kSaveLogButton = 1066;
inline constexpr int kSetServiceButton = 1070;
inline constexpr int kStatusLine = 1071;
inline constexpr int kServiceDueLine = 1072;

// Telemetry lines.
inline constexpr int kEiLine = 1079;
inline constexpr int kEoLine = 1080;
inline constexpr int kCiLine = 1081;
inline constexpr int kCoLine = 1082;
inline constexpr int kPwmLine = 1083;
inline constexpr int kPLowLine = 1084;
inline constexpr int kPHighLine = 1085;
inline constexpr int kMainsLine = 1086;
inline constexpr int kOutputLine = 1087;
inline constexpr int kOutputFrequencyLabel = 1089;

}  // namespace ids
