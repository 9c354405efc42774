#pragma once

// Command codes: byte 2 of a request, and of the reply that answers it.
namespace cmd {

inline constexpr int kReadStatus = 1;
inline constexpr int kReadSettings = 3;
inline constexpr int kWriteSettings = 4;
inline constexpr int kReadLogRecord = 5;
inline constexpr int kReadCalibration = 7;
inline constexpr int kWriteCalibration = 8;
inline constexpr int kReadNameFirstHalf = 9;
inline constexpr int kWriteNameFirstHalf = 10;
inline constexpr int kReadNameSecondHalf = 11;
inline constexpr int kWriteNameSecondHalf = 12;
inline constexpr int kReadServiceDate = 13;
inline constexpr int kSetServiceDate = 14;
inline constexpr int kReadClock = 15;
inline constexpr int kSetClock = 16;
inline constexpr int kReadLogPointer = 17;
inline constexpr int kReadFirmware = 19;
inline constexpr int kReadLogRecordAt = 21;  // Get All chain, at readPointer
inline constexpr int kReadCalProgress = 23;
inline constexpr int kReferenceCalibration = 24;
inline constexpr int kReadTemperatures = 25;
inline constexpr int kReadPressures = 27;

// The reply to a command that carries something to the machine, or starts something in
// it, only acknowledges it: the panel reads nothing from it.
constexpr bool IsAcknowledgement(int code) {
  return code == kWriteSettings || code == kWriteCalibration || code == kWriteNameFirstHalf ||
         code == kWriteNameSecondHalf || code == kSetServiceDate || code == kSetClock ||
         code == kReferenceCalibration;
}

}  // namespace cmd
