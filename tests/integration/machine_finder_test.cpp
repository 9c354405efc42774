// Find machine over real pseudo-terminals: the simulated machine on one, a device that
// answers something else on another, one that never answers, and one another process
// holds; and over an in-memory port, a device that streams.

#include "link/machine_finder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/posix_serial_port.h"
#include "support/child_process.h"
#include "support/fake_link.h"
#include "support/fake_port.h"

namespace {

// A pseudo-terminal whose controller side this test plays: it answers each request it
// sees with `reply`, or stays silent.
class Peer {
 public:
  explicit Peer(std::vector<uint8_t> reply) : reply_(std::move(reply)) {
    controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[128];
    if (controller_ >= 0 && grantpt(controller_) == 0 && unlockpt(controller_) == 0 &&
        ptsname_r(controller_, name, sizeof name) == 0) {
      path_ = name;
    }
  }
  ~Peer() {
    if (controller_ >= 0) close(controller_);
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  const std::string& path() const { return path_; }
  // Answers once twelve bytes of a request have come.
  void Serve() {
    uint8_t chunk[64];
    ssize_t got = 0;
    while ((got = read(controller_, chunk, sizeof chunk)) > 0) received_ += got;
    if (received_ >= 12 && !reply_.empty()) {
      static_cast<void>(write(controller_, reply_.data(), reply_.size()));
      received_ = 0;
    }
  }

 private:
  std::vector<uint8_t> reply_;
  int controller_ = -1;
  std::string path_;
  ssize_t received_ = 0;
};

TEST(MachineFinder, PicksTheDeviceThatAnswersAStatusRequestAndSkipsAHeldOne) {
  ChildProcess sim({BRUMO_SIM_PATH});
  const std::optional<std::string> simDevice = sim.ReadLine(10'000);
  ASSERT_TRUE(simDevice);
  Peer other({0, 0, 2, 9, 9, 9, 9, 9, 9, 9, 9, 9});  // twelve bytes, but not a status reply
  Peer silent({});
  Peer held({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  ChildProcess holder({"/bin/sh", "-c", "exec 3<>" + held.path() + " && echo $$ && read x"}, {},
                      true);
  const std::optional<std::string> holderPid = holder.ReadLine(5000);
  ASSERT_TRUE(holderPid);

  SystemLinkClock clock;
  MachineFinder finder(clock, [] { return std::make_unique<PosixSerialPort>(); });
  finder.Start({other.path(), *simDevice, silent.path(), held.path()});
  std::vector<std::string> tried;
  for (int step = 0; step < 2000 && finder.Step(); ++step) {
    if (!finder.trying().empty() && (tried.empty() || tried.back() != finder.trying())) {
      tried.push_back(finder.trying());
    }
    for (Peer* peer : {&other, &silent, &held}) peer->Serve();
    poll(nullptr, 0, 5);
  }
  EXPECT_FALSE(finder.Running());
  EXPECT_EQ(tried, (std::vector<std::string>{other.path(), *simDevice, silent.path()}));
  EXPECT_EQ(finder.answered(), std::vector<std::string>{*simDevice});
  EXPECT_EQ(finder.silent(), (std::vector<std::string>{other.path(), silent.path()}));
  ASSERT_EQ(finder.skipped().size(), 1u);
  EXPECT_EQ(finder.skipped()[0].device, held.path());
  EXPECT_EQ(finder.skipped()[0].reason, held.path() + " is in use by sh (PID " + *holderPid + ")");
}

// A device that streams without pause is let go of after a reply's worth and one byte more.
TEST(MachineFinder, ADeviceThatSendsMoreThanAReplyIsLetGoOfAtOnce) {
  struct CountingPort : FakeSerialPort {
    explicit CountingPort(int& counter) : reads(counter) {}
    int ReadPortByte() override {
      ++reads;
      return FakeSerialPort::ReadPortByte();
    }
    int& reads;
  };
  FakeLinkClock clock;
  int reads = 0;
  MachineFinder finder(clock, [&reads] {
    auto port = std::make_unique<CountingPort>(reads);
    port->responder = [](const FakeSerialPort::Frame&) {
      std::vector<uint8_t> stream(100'000);
      stream[2] = 1;  // it even starts as a status reply would
      return stream;
    };
    return port;
  });
  finder.Start({"/dev/ttyUSB0"});
  EXPECT_TRUE(finder.Step());   // the request goes out
  EXPECT_FALSE(finder.Step());  // and one step reads what came
  EXPECT_EQ(finder.silent(), std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_EQ(reads, 13);
}

}  // namespace
