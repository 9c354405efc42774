#include "golden/golden_line.h"

#include <charconv>
#include <iterator>
#include <sstream>

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool ReadMs(const std::string& word, int64_t& ms) {
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), ms);
  return error == std::errc() && end == word.data() + word.size();
}

}  // namespace

LineSetup ReadHeader(const std::string& script) {
  LineSetup setup;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("# sim:")) setup.simOptions = Words(line.substr(6));
    if (line.starts_with("# unplug:")) {
      const auto times = Words(line.substr(9));
      int64_t from = 0;
      int64_t to = 0;
      if (times.size() == 2 && ReadMs(times[0], from) && ReadMs(times[1], to)) {
        setup.unplugMs = from;
        setup.replugMs = to;
      }
    }
  }
  return setup;
}

bool GoldenPort::OpenPort(const std::string& device) {
  handle_ = device == "/dev/golden" && !Unplugged() ? PortHandle::kOpen : PortHandle::kBad;
  input_.clear();
  return handle_ == PortHandle::kOpen;
}

bool GoldenPort::ClosePort() {
  const bool wasOpen = handle_ == PortHandle::kOpen;
  handle_ = PortHandle::kNone;
  return wasOpen;
}

bool GoldenPort::PurgeRx() {
  if (!Healthy()) return false;
  TakeArrived();
  input_.clear();
  return true;
}

bool GoldenPort::WritePortByte(int32_t value) {
  if (!Healthy()) return false;
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  line_.Receive(&byte, 1, clock_.Ms());
  return true;
}

int GoldenPort::ReadPortByte() {
  if (!Healthy()) return kNoByte;
  TakeArrived();
  if (input_.empty()) return kNoByte;
  const uint8_t byte = input_.front();
  input_.pop_front();
  return byte;
}

bool GoldenPort::Unplugged() const {
  return unplugMs_ >= 0 && clock_.Ms() >= unplugMs_ && clock_.Ms() < replugMs_;
}

void GoldenPort::TakeArrived() {
  const sim::Bytes arrived = line_.TakeDue(clock_.Ms());
  input_.insert(input_.end(), arrived.begin(), arrived.end());
}
