#include "panel/write_verification.h"

#include "link/command_codes.h"

namespace {

constexpr std::string_view kVerified = "Write verified: the machine holds what was sent";
constexpr std::string_view kNoReadback = "Write not verified: no readback";

PayloadBytes PayloadOf(const Frame& frame) {
  PayloadBytes payload{};
  for (std::size_t i = 0; i < payload.size(); ++i) {
    payload[i] = static_cast<uint8_t>(frame[i + 3] & 0xFF);
  }
  return payload;
}

}  // namespace

std::string WriteVerdict::Text() const {
  if (verified()) return std::string(kVerified);
  std::string text;
  for (const std::string& failure : failures) text += (text.empty() ? "" : "; ") + failure;
  return text;
}

void WriteVerification::RequestSent(const Frame& request) {
  lastSentCode_ = request[2] & 0xFF;
  if (lastSentCode_ == cmd::kWriteSettings) {
    // A new Write: what an earlier one still awaited is no longer to be told apart.
    awaiting_ = true;
    sent_ = {PayloadOf(request), {}};
    calibrationSent_ = settingsRead_ = calibrationRead_ = false;
  } else if (awaiting_ && lastSentCode_ == cmd::kWriteCalibration) {
    sent_.calibration = PayloadOf(request);
    calibrationSent_ = true;
  }
}

bool WriteVerification::ReplyComplete(const Frame& reply) {
  const int code = reply[2] & 0xFF;
  if (!awaiting_ || code != lastSentCode_) return false;
  if (code == cmd::kReadSettings && !settingsRead_) {
    read_.settings = PayloadOf(reply);
    settingsRead_ = true;
  } else if (code == cmd::kReadCalibration && calibrationSent_ && !calibrationRead_) {
    read_.calibration = PayloadOf(reply);
    calibrationRead_ = true;
  }
  if (!settingsRead_ || !calibrationRead_) return false;
  Decide();
  return true;
}

bool WriteVerification::ReadBackOver() {
  if (!awaiting_) return false;
  Decide();
  return true;
}

void WriteVerification::Decide() {
  awaiting_ = false;
  WriteVerdict verdict;
  verdict.number = last_ ? last_->number + 1 : 1;
  // What never came back is taken as sent, so that only what did come is compared.
  MachineBlocks read = read_;
  if (!settingsRead_) read.settings = sent_.settings;
  if (!calibrationRead_) read.calibration = sent_.calibration;
  for (std::size_t setting = 0; setting < kSettingCount; ++setting) {
    if (SameSetting(setting, read, sent_)) continue;
    verdict.failures.push_back("The machine kept " + std::string(SettingName(setting)) + " at " +
                               SettingDetail(setting, read) + " (sent " +
                               SettingDetail(setting, sent_) + ")");
  }
  if (!settingsRead_ || !calibrationRead_) verdict.failures.emplace_back(kNoReadback);
  last_ = std::move(verdict);
}
