#pragma once

#include <sys/types.h>

#include <string>

#include "link/failure.h"
#include "replies/telemetry_history.h"

// Record…: each telemetry sample written to a CSV file as it arrives, so that a long
// watch of the machine survives a crash of the panel or a pulled plug but for the line
// being written. Without fsync: a slow disk must not stall the one UI thread; the
// write(2) per line is the flush.
class CsvRecorder {
 public:
  CsvRecorder() = default;
  CsvRecorder(const CsvRecorder&) = delete;
  CsvRecorder& operator=(const CsvRecorder&) = delete;
  ~CsvRecorder();

  // Saves the header as a new file at path, as every save does (a symbolic link is
  // written through; an old file is replaced only when it is a regular file the user may
  // write, and keeps its permission bits; a new one gets 0666 less the umask), after
  // ending any recording in progress. A start that fails leaves no file behind.
  Outcome Start(const std::string& path);

  // Appends the sample's row with one write(2). A write that fails or falls short ends
  // the recording with the reason; the file keeps the whole rows written before it. A
  // file removed or replaced at its path ends the recording too: rows written on would
  // go where no one finds them. Refused with a reason when not recording.
  Outcome Append(const TelemetrySample& sample);

  // True while recording into the file at path, under whatever name or link.
  bool Records(const std::string& path) const;

  // Ends the recording and closes the file; fails when closing reports that what was
  // written could not be stored (as a network file system may).
  Outcome Stop();

  bool recording() const { return fd_ >= 0; }
  // The file of the recording in progress, or of the last one.
  const std::string& path() const { return path_; }

 private:
  Outcome Write(const std::string& record);
  // Why the file at path_ is no longer the one being written, if it is not.
  Outcome NoLongerAtPath() const;

  int fd_ = -1;
  std::string path_;
  off_t size_ = 0;  // bytes of whole records in the file
};
