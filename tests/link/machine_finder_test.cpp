#include "link/machine_finder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fake_link.h"
#include "support/fake_port.h"

namespace {

// A port that counts the bytes read from it.
class CountingPort : public FakeSerialPort {
 public:
  explicit CountingPort(int& reads) : reads_(reads) {}
  int ReadPortByte() override {
    ++reads_;
    return FakeSerialPort::ReadPortByte();
  }

 private:
  int& reads_;
};

// A device that answers a request with more than a reply's worth, as one that streams
// without pause does, is let go of after one reply and one byte more.
TEST(MachineFinder, ADeviceThatSendsMoreThanAReplyIsLetGoOfAtOnce) {
  for (const std::size_t sent : {13U, 100'000U}) {
    FakeLinkClock clock;
    int reads = 0;
    MachineFinder finder(clock, [&reads, sent] {
      auto port = std::make_unique<CountingPort>(reads);
      port->responder = [sent](const FakeSerialPort::Frame&) {
        std::vector<uint8_t> stream(sent, 0);
        stream[2] = 1;  // it even starts like a status reply
        return stream;
      };
      return port;
    });
    finder.Start({"/dev/ttyUSB0"});
    EXPECT_TRUE(finder.Step());   // the request goes out
    EXPECT_FALSE(finder.Step());  // and one step reads what came
    EXPECT_EQ(finder.silent(), std::vector<std::string>{"/dev/ttyUSB0"}) << sent;
    EXPECT_EQ(reads, 13) << sent;
  }
}

}  // namespace
