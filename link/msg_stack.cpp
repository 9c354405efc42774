#include "link/msg_stack.h"

void MsgStack::Push(int32_t code) {
  if (count_ >= kStackCapacity) return;
  ++count_;
  slots_[static_cast<std::size_t>(count_)] = code;
}

int32_t MsgStack::Pop() {
  if (count_ == 0) return 0;
  const int32_t code = slots_[static_cast<std::size_t>(count_)];
  --count_;
  return code;
}
