#include "support/fake_machine.h"

#include <memory>
#include <utility>

FakeSerialPort::Responder MachineResponder(const sim::MachineSetup& setup, sim::MilliClock clock) {
  if (!clock) clock = [] { return int64_t{0}; };
  auto machine = std::make_shared<sim::BrumoMachine>(setup, std::move(clock));
  return [machine](const FakeSerialPort::Frame& request) {
    sim::Frame frame{};
    std::copy(request.begin(), request.end(), frame.begin());
    const sim::Frame reply = machine->Answer(frame);
    return std::vector<uint8_t>(reply.begin(), reply.end());
  };
}
