#include "link/port_names.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// A [Ports] section held in a map.
PortsLookup Ports(std::map<std::string, std::string> entries) {
  return [entries](std::string_view name) -> std::optional<std::string> {
    const auto found = entries.find(std::string(name));
    if (found == entries.end()) return std::nullopt;
    return found->second;
  };
}

struct PortCase {
  int number;
  std::string device;
};

class DeviceForPortNumber : public testing::TestWithParam<PortCase> {};

TEST_P(DeviceForPortNumber, SelectsTheUsbAdapterCountedFromZero) {
  EXPECT_EQ(DeviceForPort(GetParam().number, Ports({})), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Numbers, DeviceForPortNumber,
                         testing::Values(PortCase{1, "/dev/ttyUSB0"}, PortCase{2, "/dev/ttyUSB1"},
                                         PortCase{12, "/dev/ttyUSB11"},
                                         PortCase{30, "/dev/ttyUSB29"},
                                         // A stored number outside 1..30 is used unchanged.
                                         PortCase{45, "/dev/ttyUSB44"}, PortCase{0, ""},
                                         PortCase{-5, ""}));

TEST(DeviceForPort, PortsSectionNamesTheDeviceForThatNumberOnly) {
  // An empty entry names nothing; numbers below one select nothing, entry or not.
  const PortsLookup ports =
      Ports({{"COM3", "/dev/ttyACM0"}, {"COM4", ""}, {"COM0", "/dev/ttyACM1"}});
  EXPECT_EQ(DeviceForPort(3, ports), "/dev/ttyACM0");
  EXPECT_EQ(DeviceForPort(4, ports), "/dev/ttyUSB3");
  EXPECT_EQ(DeviceForPort(2, ports), "/dev/ttyUSB1");
  EXPECT_EQ(DeviceForPort(0, ports), "");
}

TEST(PortName, IsComAndTheNumberWithoutLeadingZeros) {
  EXPECT_EQ(PortName(1), "COM1");
  EXPECT_EQ(PortName(7), "COM7");
  EXPECT_EQ(PortName(12), "COM12");
  EXPECT_EQ(PortName(30), "COM30");
}

}  // namespace
