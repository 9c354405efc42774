#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// One pseudo-terminal pair: the test holds the master side and plays the adapter's
// far end (the machine); the slave's path stands for the adapter's device.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal() { CloseMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }

  // Sends bytes to the slave side; a test fails if they cannot all be sent.
  void Write(const Bytes& bytes);
  // The next count bytes that the slave side wrote, or fewer if they do not come.
  Bytes Read(std::size_t count);
  // Whatever the slave side wrote and is there now.
  Bytes Pending();
  // The adapter is unplugged.
  void CloseMaster();

 private:
  void Wait(short events);

  int master_ = -1;
  std::string slave_;
};

// Waits until at least count bytes wait in the input buffer of the slave side open
// at fd: bytes written to a master reach the slave a moment later.
bool WaitForInput(int fd, int count);
