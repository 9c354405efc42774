#pragma once

#include <cstdint>
#include <string>

#include "link/link_health.h"

struct MachineReadings;

// The texts of a service visit: the link's health at a glance, in full and as fields,
// and who the machine is.

// "/dev/ttyUSB0 · replies: 99.4 % of last 50, 1,203 of 1,210 since Connect · last reply
// 0.2 s ago · clock +12 s": complete replies among the last 50 requests that have an
// outcome and among all of them since Connect (a request still awaited is in neither);
// parts not known yet are left out.
std::string HealthSummary(const std::string& device, const LinkHealth& health, int64_t nowMs);

// Where the link stands, beside its health.
struct LinkState {
  bool open = false;
  bool connecting = false;
  std::string device;  // the device last opened
};

// The link's state in words while it is not live: "No reply for 12 s", "Port lost 12 s
// ago: /dev/ttyUSB0", "Closed", "Connecting", "Not connected". Empty while it is live.
std::string LinkStateWords(const LinkState& state, const LinkHealth& health, int64_t nowMs);

// "sent=1210 complete=1203 short=3 missing=4 lost=0 dropped=0 unhandled=0 acknowledged=0
// recent=98.0% last-reply-ms=200 clock-offset=+12"; "-" for what is not known yet.
std::string HealthFields(const LinkHealth& health, int64_t nowMs);

// link-health.txt: the counters and figures since the last Connect, then the counters
// since the panel started; one per line, CR LF.
std::string HealthReport(const LinkHealth& health, int64_t nowMs);

// What identifies the machine and this visit, for identity.txt.
struct Identity {
  const MachineReadings& machine;
  const LinkHealth& health;
  int portNumber;
  std::string device;
  int64_t now;  // this PC's clock, seconds since 1970
};

// identity.txt: machine name, firmware revision, machine clock and its offset from this
// PC, next service date, port and device, this program's version; one per line, CR LF.
// A fact of the machine not received since the last Connect is "not read"; the machine's
// and the device's bytes are escaped, so they cannot break or forge a line.
std::string IdentityReport(const Identity& identity);
