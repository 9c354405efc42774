#pragma once

#include <cstdint>
#include <string>

#include "link/failure.h"

// What ReadPortByte gives when no byte was available; it lies outside 0..255.
inline constexpr int kNoByte = 0xFF00;

// State of the port handle: none at start and after ClosePort; bad after a failed
// open (which is not none).
enum class PortHandle { kNone, kBad, kOpen };

// The port operations the link relies on, one platform call each. Reads never wait.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // The slow part of opening `device`, done ahead in short steps so that no tick waits on
  // it: true once OpenPort(device) can answer at once. A port with no such work is always
  // ready.
  virtual bool PrepareOpen(const std::string& /*device*/) { return true; }
  // Lets go of what PrepareOpen holds, when the open is not coming.
  virtual void CancelOpen() {}
  // Opens the device exclusively; true if it opened. A failure leaves the handle bad.
  virtual bool OpenPort(const std::string& device) = 0;
  // 2400 baud 8N2 raw, no flow control, non-waiting reads. Stops at the first failing
  // step; nothing is undone and the port stays open.
  virtual bool ConfigurePort() = 0;
  // Closes the handle; afterwards it is none.
  virtual bool ClosePort() = 0;
  // Discards unsent output. Fails on a closed, lost or removed port: the lost-port probe.
  virtual bool PurgeTx() = 0;
  // Discards received input not yet read.
  virtual bool PurgeRx() = 0;
  // True only when exactly one byte (the low 8 bits of value) was taken. Holds the thread
  // until the driver takes it, or fails after a bound.
  virtual bool WritePortByte(int32_t value) = 0;
  // A byte 0..255, or kNoByte at once when none is there (also on a closed port).
  virtual int ReadPortByte() = 0;
  virtual bool SetBreak() = 0;
  virtual bool ClearBreak() = 0;
  virtual PortHandle Handle() const = 0;
  // Why the last operation failed (nothing after a success); for telling the operator.
  // A port that never fails with a reason of its own has nothing to say.
  virtual Outcome LastFailure() const { return std::nullopt; }
};
