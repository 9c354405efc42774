#include "link/port_names.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_host.h"

namespace {

struct PortCase {
  int number;
  std::string device;
};

class DeviceForPortNumber : public testing::TestWithParam<PortCase> {};

TEST_P(DeviceForPortNumber, SelectsTheUsbAdapterCountedFromZero) {
  MemoryProfile profile;
  EXPECT_EQ(DeviceForPort(GetParam().number, profile), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Numbers, DeviceForPortNumber,
                         testing::Values(PortCase{1, "/dev/ttyUSB0"}, PortCase{2, "/dev/ttyUSB1"},
                                         PortCase{12, "/dev/ttyUSB11"},
                                         PortCase{30, "/dev/ttyUSB29"},
                                         // A stored number outside 1..30 is used unchanged.
                                         PortCase{45, "/dev/ttyUSB44"}, PortCase{0, ""},
                                         PortCase{-5, ""}));

TEST(DeviceForPort, PortsSectionNamesTheDeviceForThatNumberOnly) {
  MemoryProfile profile;
  profile.values["Ports/COM3"] = "/dev/ttyACM0";
  profile.values["Ports/COM4"] = "";  // an empty entry names nothing
  EXPECT_EQ(DeviceForPort(3, profile), "/dev/ttyACM0");
  EXPECT_EQ(DeviceForPort(4, profile), "/dev/ttyUSB3");
  EXPECT_EQ(DeviceForPort(2, profile), "/dev/ttyUSB1");
}

TEST(DeviceForPort, NumbersBelowOneSelectNothingEvenWithAnEntry) {
  MemoryProfile profile;
  profile.values["Ports/COM0"] = "/dev/ttyACM0";
  EXPECT_EQ(DeviceForPort(0, profile), "");
}

TEST(PortName, IsComAndTheNumberWithoutLeadingZeros) {
  EXPECT_EQ(PortName(1), "COM1");
  EXPECT_EQ(PortName(7), "COM7");
  EXPECT_EQ(PortName(12), "COM12");
  EXPECT_EQ(PortName(30), "COM30");
}

}  // namespace
