#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/frames.h"

class CommandQueue;
class ControlModel;

// The pointers into the machine's event log that the follower keeps.
struct LogPointers {
  int32_t logPointer = 0;      // the address request 5 asks for
  int32_t nextLogPointer = 0;  // the next address log following fetches
  int32_t readPointer = 0;     // the address request 21 asks for (Get All)
  bool firstLogReply = true;   // the next reply 17 is the first since start-up or Connect
};

// Brings the machine's event log onto the panel as lines of list 1055: log following
// (each reply 17 may queue one record, request 5) and Get All (an unbroken chain of
// requests 21 for addresses 0 to 882). It queues its requests on the link; each is
// built when it is sent, so it carries the pointer of that moment.
class LogFollower {
 public:
  LogFollower(ControlModel& controls, CommandQueue& link);

  // Window creation: following starts anew (the Get All pointer stays).
  void RestartFollowing();
  // Connect: following starts anew and Get All starts from address 0.
  void Restart();

  void OnLogPointerReply(const Frame& reply);            // 17
  void OnRecordReply(const Frame& reply, bool readAll);  // 5, and 21 when readAll
  // Get All (button 1041): empties the list and reads the whole log.
  void GetAll();
  // Clear (button 1065): empties the list, keeping what it held for an undo.
  void ClearList();
  // Puts the lines the last Clear took back before those added since. A Get All, or a
  // Clear of an empty list, leaves nothing to undo.
  void UndoClear();
  bool canUndoClear() const { return !cleared_.empty(); }

  const LogPointers& pointers() const { return pointers_; }
  // Get All was pressed and its chain has not reached the log's end.
  bool gettingAll() const { return gettingAll_; }
  // Records Get All has read so far.
  int recordsRead() const;
  static constexpr int kLogRecords = 148;

 private:
  ControlModel& controls_;
  CommandQueue& link_;
  LogPointers pointers_;
  bool gettingAll_ = false;
  std::vector<std::string> cleared_;

  void ShowNewest();
};
