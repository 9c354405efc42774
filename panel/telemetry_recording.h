#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/failure.h"
#include "link/link_health.h"
#include "panel/csv_recorder.h"
#include "replies/poll_interruptions.h"
#include "replies/telemetry_history.h"

struct MachineReadings;

// Why no poll passes come at this tick, or nothing while they may: not open (closed, or
// lost), open but not live, or Get All's chain running. While a Connect is pending after
// a lost port, `before` (what stopped them) still holds.
std::optional<Interruption> WhyNoPollPasses(bool open, const LinkHealth& health, bool gettingAll,
                                            std::optional<Interruption> before);

// The machine's telemetry over time: one sample for each poll pass that brought
// temperatures, pressures and status, kept in the ring (24 hours of passes) and, while
// the operator records, written to a CSV file as it comes; and why passes did not come.
class TelemetryRecording {
 public:
  // A complete reply of this code arrived.
  void NoteReply(int code);
  // A poll pass ended. Takes a sample when the pass brought the three readings; a
  // recording whose file fails is ended, with the failure given back.
  Outcome PassEnded(const MachineReadings& machine, int64_t pcTimeMs);
  // At every tick: why no poll passes come (WhyNoPollPasses), with the PC's clock read
  // only when that changes.
  template <typename Clock>
  void NoteInterruption(std::optional<Interruption> why, Clock nowMs) {
    if (why != interruptions_.current()) interruptions_.Note(why, nowMs());
  }

  Outcome StartRecording(const std::string& path) { return recorder_.Start(path); }
  Outcome StopRecording() { return recorder_.Stop(); }
  bool recording() const { return recorder_.recording(); }
  const std::string& recordingPath() const { return recorder_.path(); }
  // Saves content whole to path (SaveFileWhole), unless path is the file being recorded:
  // the save would replace it, and the recording would go on into a file no longer there.
  Outcome SaveOutside(const std::string& path, std::string_view content) const;

  const TelemetryRing& samples() const { return ring_; }
  const PollInterruptions& interruptions() const { return interruptions_; }

 private:
  TelemetryRing ring_;
  PollInterruptions interruptions_;
  CsvRecorder recorder_;
  unsigned arrived_ = 0;  // one bit per reading of the pass
};
