#pragma once

#include <cstdint>
#include <string>

#include "link/frames.h"

// What a request carries from the panel, asked for at the moment the request is sent,
// not when it was queued: the log pointers move between the two.
class RequestSource {
 public:
  virtual ~RequestSource() = default;

  // Bytes 3 to 11 of request 4 (settings) and of request 8 (calibration values).
  virtual PayloadBytes SettingsToWrite() = 0;
  virtual PayloadBytes CalibrationToWrite() = 0;
  // The machine name that requests 10 and 12 send in two halves.
  virtual std::string NameToWrite() = 0;
  // The log addresses requests 5 and 21 ask for.
  virtual int32_t LogPointer() = 0;
  virtual int32_t ReadPointer() = 0;
  // Seconds since 1970-01-01 00:00:00 UTC, for requests 14 and 16.
  virtual int64_t CurrentTime() = 0;
};

// Builds each request in one frame that lives as long as the link: the payload slots a
// code does not name keep what an earlier request put there, and that stale value is
// what the machine receives.
class RequestBuilder {
 public:
  // Bytes 0 and 1, the code in byte 2, then the code's payload.
  const Frame& Build(int32_t code, RequestSource& source);
  const Frame& frame() const { return frame_; }

 private:
  void PutName(int32_t code, const std::string& name);

  Frame frame_{};
};
