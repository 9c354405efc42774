#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/frames.h"
#include "replies/setting_values.h"

// What the last Write's read-back said: verified, or each setting the machine did not
// take (and "Write not verified: no readback" when the read-back never came).
struct WriteVerdict {
  std::vector<std::string> failures;
  uint64_t number = 0;  // counts the verdicts, so a view can tell a new one

  bool verified() const { return failures.empty(); }
  std::string Text() const;
};

// Compares the machine's readback of its settings (reply 3) and calibration values
// (reply 7) with the blocks Write sent in requests 4 and 8. The readback is the reply to
// the first request 3 (and 7) sent after them; the link answers one request at a time,
// so a reply belongs to the request sent last.
class WriteVerification {
 public:
  void RequestSent(const Frame& request);
  // True when this reply decided the verdict.
  bool ReplyComplete(const Frame& reply);
  // The Write's read-back is over (the link went idle, or the port is gone): true when
  // that decided the verdict, without the replies that never came.
  bool ReadBackOver();

  const std::optional<WriteVerdict>& last() const { return last_; }

 private:
  void Decide();

  bool awaiting_ = false;
  int lastSentCode_ = 0;
  MachineBlocks sent_;
  MachineBlocks read_;
  bool calibrationSent_ = false;
  bool settingsRead_ = false;
  bool calibrationRead_ = false;
  std::optional<WriteVerdict> last_;
};
