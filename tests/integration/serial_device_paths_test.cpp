// Devices named by path that udev does not know: real pseudo-terminals, links to them, and
// paths that lead nowhere.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "link/serial_devices.h"

namespace {

TEST(DescribeDevice, APseudoTerminalIsItsNodeAloneThroughAnyLink) {
  const int controller = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(controller, 0);
  char name[128];
  ASSERT_EQ(ptsname_r(controller, name, sizeof name), 0);
  const std::string terminal = name;
  const std::filesystem::path link =
      std::filesystem::temp_directory_path() / ("kelo-pty-link-" + std::to_string(getpid()));
  std::filesystem::remove(link);  // left by an earlier run that was killed
  std::filesystem::create_symlink(terminal, link);

  for (const std::string& path : {terminal, link.string()}) {
    SCOPED_TRACE(path);
    const SerialDevice device = DescribeDevice(path);
    EXPECT_EQ(device.node, terminal);
    EXPECT_TRUE(device.mayOpen);
    EXPECT_EQ(DeviceLabel(device), "Pseudo-terminal \u2014 " + terminal);
    EXPECT_EQ(StableName(device), terminal);
  }
  std::filesystem::remove(link);
  close(controller);
}

TEST(DescribeDevice, APathThatLeadsNowhereIsKeptAndCannotBeOpened) {
  const SerialDevice device = DescribeDevice("/dev/serial/by-id/usb-Gone_Adapter-if00-port0");
  EXPECT_EQ(device.node, "/dev/serial/by-id/usb-Gone_Adapter-if00-port0");
  EXPECT_EQ(device.byIdLink, "/dev/serial/by-id/usb-Gone_Adapter-if00-port0");
  EXPECT_FALSE(device.mayOpen);
}

}  // namespace
