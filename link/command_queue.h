#pragma once

#include <cstdint>

// Where work for the machine is queued: command codes, the last queued sent first.
class CommandQueue {
 public:
  virtual ~CommandQueue() = default;
  virtual void Queue(int32_t code) = 0;
};
