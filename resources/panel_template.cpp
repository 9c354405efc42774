#include "resources/panel_template.h"

#include <array>

namespace {

using K = ControlKind;
constexpr int kNone = kNoControlId;

constexpr DialogTemplate kPanel{"Brumo Configuration 1v2", "MS Sans Serif", 8, 447, 318};

constexpr std::array kPanelControls = {
    // Group boxes.
    ControlSpec{kNone, K::kGroupBox, "UPLOAD/DOWNLOAD", {5, 3, 94, 60}, true, true},
    ControlSpec{kNone, K::kGroupBox, "USB", {104, 3, 65, 60}, true, true},
    ControlSpec{kNone, K::kGroupBox, "FOG STATUS", {172, 3, 268, 60}, true, true},
    ControlSpec{kNone, K::kGroupBox, "TEMP CTRL", {5, 75, 94, 75}, true, true},
    ControlSpec{kNone, K::kGroupBox, "EVENT LOGGING", {103, 75, 337, 76}, true, true},
    ControlSpec{kNone, K::kGroupBox, "OVERRIDE", {7, 153, 92, 52}, true, true},
    ControlSpec{kNone, K::kGroupBox, "DATE/SERVICE TIMER", {104, 153, 211, 52}, true, true},
    ControlSpec{kNone, K::kGroupBox, "REFRIGERATION", {7, 207, 130, 104}, true, true},
    ControlSpec{kNone, K::kGroupBox, "CONDENSATE", {143, 207, 77, 48}, true, true},
    ControlSpec{kNone, K::kGroupBox, "PUMP ADJUST", {224, 207, 91, 48}, true, true},
    ControlSpec{kNone, K::kGroupBox, "EVAP FAN ADJUST", {319, 207, 121, 48}, true, true},
    ControlSpec{kNone, K::kGroupBox, "MAINS SENSING", {143, 259, 77, 52}, true, true},
    ControlSpec{kNone, K::kGroupBox, "VSD", {224, 259, 90, 52}, true, true},
    ControlSpec{kNone, K::kGroupBox, "CALIBRATION", {318, 260, 122, 51}, true, true},
    // UPLOAD/DOWNLOAD.
    ControlSpec{1018, K::kPushButton, "Write", {15, 15, 30, 14}, true, true},
    ControlSpec{1020, K::kPushButton, "Read", {60, 15, 30, 14}, true, true},
    ControlSpec{1021, K::kProgressBar, "", {15, 34, 75, 10}, true, true},
    // USB.
    ControlSpec{1024, K::kEdit, "", {115, 20, 45, 14}, true, true},
    ControlSpec{1026, K::kPushButton, "Connect", {118, 40, 37, 14}, true, true},
    // FOG STATUS.
    ControlSpec{1008, K::kIndicator, "Ready", {182, 15, 36, 10}, true, true},
    ControlSpec{1009, K::kIndicator, "MainsOk", {240, 15, 44, 10}, false, true},
    ControlSpec{1010, K::kIndicator, "Ready", {295, 15, 37, 10}, false, true},
    ControlSpec{1015, K::kIndicator, "DMX", {343, 15, 37, 10}, true, true},
    ControlSpec{1016, K::kIndicator, "Heat", {182, 30, 38, 10}, true, true},
    ControlSpec{1014, K::kIndicator, "FluidOk", {240, 30, 40, 10}, false, true},
    ControlSpec{1017, K::kIndicator, "Heat", {295, 30, 31, 10}, false, true},
    ControlSpec{1013, K::kIndicator, "RDM", {343, 30, 46, 10}, true, true},
    ControlSpec{1071, K::kStatic, "CURRENT STATUS:- Not Connected", {183, 48, 165, 8}, true, true},
    // TEMP CTRL.
    ControlSpec{1003, K::kEdit, "", {13, 88, 32, 14}, true, true},
    ControlSpec{1004, K::kEdit, "", {13, 108, 32, 14}, true, true},
    ControlSpec{1005, K::kEdit, "", {13, 128, 32, 14}, true, true},
    ControlSpec{kNone, K::kStatic, "S_Ht (C)", {52, 91, 29, 8}, true, true},
    ControlSpec{kNone, K::kStatic, "T_Min (C)", {53, 112, 35, 8}, true, true},
    ControlSpec{kNone, K::kStatic, "T_Max (C)", {52, 131, 33, 8}, true, true},
    // EVENT LOGGING.
    ControlSpec{1041, K::kPushButton, "Get All", {114, 85, 33, 14}, true, true},
    ControlSpec{1065, K::kPushButton, "Clear", {114, 105, 33, 14}, true, true},
    ControlSpec{1066, K::kPushButton, "Save", {114, 125, 33, 14}, true, true},
    ControlSpec{1055, K::kListBox, "", {157, 86, 277, 53}, true, true},
    // OVERRIDE.
    ControlSpec{1067, K::kCheckBox, "Compressor Run", {20, 165, 66, 10}, true, true},
    ControlSpec{1058, K::kCheckBox, "Pump Run", {20, 184, 65, 10}, true, true},
    // DATE/SERVICE TIMER.
    ControlSpec{1063, K::kStatic, "Local Time", {112, 167, 130, 8}, true, true},
    ControlSpec{kNone, K::kStatic, "(MM/DD/YY)", {112, 179, 44, 8}, true, true},
    ControlSpec{1072, K::kStatic, "xx Days to next service", {113, 190, 146, 8}, true, true},
    ControlSpec{1070, K::kPushButton, "Set Service", {260, 166, 50, 14}, true, true},
    ControlSpec{1042, K::kPushButton, "Set Date", {260, 185, 50, 14}, true, true},
    // REFRIGERATION.
    ControlSpec{1079, K::kStatic, "Static", {22, 218, 98, 10}, true, true},
    ControlSpec{1080, K::kStatic, "Static", {22, 230, 88, 10}, true, true},
    ControlSpec{1081, K::kStatic, "Static", {22, 242, 88, 10}, true, true},
    ControlSpec{1082, K::kStatic, "Static", {22, 254, 89, 10}, true, true},
    ControlSpec{1083, K::kStatic, "Static", {22, 267, 88, 10}, true, true},
    ControlSpec{1084, K::kStatic, "Static", {22, 280, 89, 10}, true, true},
    ControlSpec{1085, K::kStatic, "Static", {22, 292, 90, 10}, true, true},
    // CONDENSATE.
    ControlSpec{1034, K::kCheckBox, "Idle Enable", {150, 217, 52, 10}, true, true},
    ControlSpec{kNone, K::kStatic, "Run Time", {149, 228, 53, 8}, true, true},
    ControlSpec{1052, K::kCombo, "", {149, 237, 64, 58}, true, true},
    // MAINS SENSING.
    ControlSpec{1086, K::kStatic, "Mains Value", {151, 269, 59, 10}, true, true},
    ControlSpec{kNone, K::kStatic, "Cal Value", {152, 280, 51, 7}, true, true},
    ControlSpec{1002, K::kEdit, "", {151, 291, 40, 14}, true, true},
    // PUMP ADJUST.
    ControlSpec{1062, K::kCombo, "", {229, 220, 39, 58}, true, true},
    ControlSpec{kNone, K::kStatic, "Min", {275, 221, 31, 10}, true, true},
    ControlSpec{1046, K::kCombo, "", {229, 238, 38, 49}, true, true},
    ControlSpec{kNone, K::kStatic, "Max", {275, 240, 35, 11}, true, true},
    // EVAP FAN ADJUST.
    ControlSpec{1061, K::kCombo, "", {326, 220, 64, 58}, true, true},
    // VSD.
    ControlSpec{1089, K::kStatic, "Output Frequency", {229, 269, 80, 10}, true, true},
    ControlSpec{1087, K::kStatic, "Static", {229, 281, 80, 10}, true, true},
    // CALIBRATION.
    ControlSpec{1045, K::kCombo, "", {325, 277, 51, 58}, true, true},
    ControlSpec{kNone, K::kStatic, "Local Temp' (C)", {380, 278, 54, 9}, true, true},
    ControlSpec{1022, K::kProgressBar, "", {323, 294, 66, 10}, true, true},
    ControlSpec{1029, K::kCheckBox, "Ref Cal", {395, 294, 40, 10}, true, true},
    // Outside every group box.
    ControlSpec{1, K::kDefaultPushButton, "Exit", {321, 158, 49, 14}, true, true},
    ControlSpec{1050, K::kPushButton, "Save All", {379, 158, 49, 14}, true, true},
    ControlSpec{1060, K::kPushButton, "Set Defaults", {322, 185, 49, 14}, true, true},
    ControlSpec{1007, K::kPushButton, "Monitor", {390, 176, 33, 14}, false, false},
    ControlSpec{1051, K::kPushButton, "Help", {354, 179, 49, 14}, false, true},
    ControlSpec{1059, K::kEdit, "", {400, 175, 40, 14}, false, true},
    ControlSpec{1057, K::kCombo, "", {377, 180, 48, 30}, false, true},
    ControlSpec{1027, K::kCheckBox, "N/C", {403, 179, 29, 10}, false, true},
    ControlSpec{1028, K::kCheckBox, "Latching", {385, 184, 43, 10}, false, true},
    ControlSpec{1030, K::kCheckBox, "Fault Supress", {361, 184, 60, 10}, false, true},
    ControlSpec{1031, K::kCheckBox, "N/C", {324, 190, 29, 10}, false, true},
    ControlSpec{1032, K::kCheckBox, "Latching", {352, 194, 43, 10}, false, true},
    ControlSpec{1033, K::kCheckBox, "N/C", {399, 187, 29, 10}, false, true},
    ControlSpec{1035, K::kCheckBox, "USB SAI Off", {352, 174, 56, 10}, false, true},
};

constexpr std::array kTabOrder = {1,    1002, 1003, 1004, 1005, 1018, 1020, 1024, 1026,
                                  1029, 1034, 1041, 1042, 1045, 1050, 1052, 1066, 1055,
                                  1058, 1060, 1061, 1062, 1065, 1067, 1070, 1046};

constexpr std::array<std::string_view, 11> kLocalTempEntries = {"17", "18", "19", "20", "21", "22",
                                                                "23", "24", "25", "26", "27"};
constexpr std::array<std::string_view, 6> kRunTimeEntries = {"+0",  "+10", "+20",
                                                             "+30", "+40", "+50"};
constexpr std::array<std::string_view, 9> kAdjustEntries = {"0",  "+1", "+2", "+3", "+4",
                                                            "+5", "+6", "+7", "+8"};

constexpr std::array kComboLists = {
    ComboListSpec{1045, kLocalTempEntries}, ComboListSpec{1052, kRunTimeEntries},
    ComboListSpec{1061, kAdjustEntries},    ComboListSpec{1062, kAdjustEntries},
    ComboListSpec{1046, kAdjustEntries},    ComboListSpec{1057, {}},
};

constexpr DialogTemplate kAbout{"About Kelo Configuration", "MS Sans Serif", 8, 235, 55};

constexpr std::array kAboutControls = {
    ControlSpec{kNone,
                K::kStatic,
                "Kelo Configuration Version " KELO_VERSION,
                {40, 10, 119, 8},
                true,
                true},
    ControlSpec{kNone,
                K::kStatic,
                "Brumo fog machine service panel for Linux",
                {40, 25, 135, 8},
                true,
                true},
    ControlSpec{1, K::kDefaultPushButton, "OK", {178, 7, 50, 14}, true, true},
};

}  // namespace

const DialogTemplate& PanelDialogTemplate() {
  return kPanel;
}
std::span<const ControlSpec> PanelControls() {
  return kPanelControls;
}
std::span<const int> PanelTabOrder() {
  return kTabOrder;
}
std::span<const ComboListSpec> PanelComboLists() {
  return kComboLists;
}
const DialogTemplate& AboutDialogTemplate() {
  return kAbout;
}
std::span<const ControlSpec> AboutControls() {
  return kAboutControls;
}
