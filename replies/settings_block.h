#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/frames.h"

class ControlModel;

// The settings block: bytes 3 to 11 of reply 3 (the machine's settings) and of request 4
// (the settings Write sends). Both directions work from one table of fields, so the
// bits a control shows and the bits it sends are the same bits.

// Shows the machine's settings on the panel's combos and check boxes, in the panel's
// order of controls. Bits and bytes that no control shows are not read.
void ShowSettings(ControlModel& controls, const PayloadBytes& machine);

// The settings block Write sends: for each field whose control still shows what the
// machine's block makes it show, the machine's own bits; for a field the operator
// changed, the bits the control stands for. Bits and bytes that no control shows, and a
// combo left with no entry selected, keep the machine's bits.
PayloadBytes SettingsToWrite(const ControlModel& controls, const PayloadBytes& machine);

// The calibration values in bytes 3 to 6: Cal Value, S_Ht, T_Min and T_Max.
using CalibrationValues = std::array<int32_t, 4>;
using CalibrationTexts = std::array<std::string, 4>;
using CalibrationUnchanged = std::array<bool, 4>;
inline constexpr std::size_t kCalValueField = 0;
inline constexpr std::size_t kSHtField = 1;

// What the Cal Value, S_Ht, T_Min and T_Max edits show now.
CalibrationTexts ShownCalibration(const ControlModel& controls);

// Which of those edits still show the text that stands for the machine's value.
CalibrationUnchanged UnchangedCalibration(const ControlModel& controls,
                                          const CalibrationTexts& machineShown);

// The calibration block Write sends (request 8): in bytes 3 to 6 the machine's own byte
// for each value whose edit the operator left alone, else the panel's value, already
// checked to fit its byte; bytes 7 to 11 as the machine sent them in reply 7.
PayloadBytes CalibrationToWrite(const CalibrationValues& values,
                                const CalibrationUnchanged& unchanged, const PayloadBytes& machine);
