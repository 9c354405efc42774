// The serial devices as udev reports them, from simulated devices: umockdev's preload library
// (in LD_PRELOAD, set by CTest) sends this process's /sys and /dev look-ups into a test bed.

#include "link/serial_devices.h"

#include <gtest/gtest.h>
#include <umockdev.h>

#include <ostream>
#include <string>
#include <vector>

// In sanitizer builds the preload library comes ahead of the ASan runtime, which is fine here.
extern "C" const char* __asan_default_options() {
  return "verify_asan_link_order=0";
}

namespace {

// As umockdev-record writes them: an FTDI adapter, a CDC ACM board and an on-board UART that
// probed; then what is not listed: a UART that no driver took, a virtual console and a
// placeholder port of the legacy 8250 driver. The listed ones have device numbers that no real
// device has: the preload library redirects /sys and /dev but not udev's database under /run/udev,
// which libudev reads by device number.
constexpr const char* kDevices = R"(P: /devices/pci0000:00/0000:00:14.0/usb1/1-1
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
L: driver=../../../../bus/usb/drivers/usb
A: idVendor=0403
A: idProduct=6001
A: manufacturer=FTDI
A: product=FT232R USB UART
A: serial=A1B2C3

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0
E: SUBSYSTEM=usb
L: driver=../../../../../bus/usb/drivers/ftdi_sio

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0
E: SUBSYSTEM=usb-serial
L: driver=../../../../../../bus/usb-serial/drivers/ftdi_sio

P: /devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0
N: ttyUSB0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyUSB0
E: MAJOR=188
E: MINOR=240
E: ID_USB_DRIVER=ftdi_sio
E: DEVLINKS=/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0
A: dev=188:240

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
L: driver=../../../../bus/usb/drivers/usb
A: idVendor=2341
A: idProduct=0043
A: manufacturer=Arduino (www.arduino.cc)
A: product=Arduino Uno
A: serial=75833353035351C0E1A1

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0
E: SUBSYSTEM=usb
L: driver=../../../../../bus/usb/drivers/cdc_acm

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0
N: ttyACM0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyACM0
E: MAJOR=166
E: MINOR=240
E: DEVLINKS=/dev/serial/by-id/usb-Arduino__www.arduino.cc__Arduino_Uno_75833353035351C0E1A1-if00
A: dev=166:240

P: /devices/pnp0/00:01
E: SUBSYSTEM=pnp
L: driver=../../../bus/pnp/drivers/serial

P: /devices/pnp0/00:01/tty/ttyS0
N: ttyS0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyS0
E: MAJOR=4
E: MINOR=240
A: dev=4:240

P: /devices/pnp0/00:02
E: SUBSYSTEM=pnp

P: /devices/pnp0/00:02/tty/ttyS2
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyS2

P: /devices/virtual/tty/tty1
E: SUBSYSTEM=tty
E: DEVNAME=/dev/tty1

P: /devices/platform/serial8250
E: SUBSYSTEM=platform
L: driver=../../../bus/platform/drivers/serial8250

P: /devices/platform/serial8250/tty/ttyS1
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyS1
)";

const std::vector<SerialDevice> kListed = {
    {"/dev/ttyACM0",
     "/dev/serial/by-id/usb-Arduino__www.arduino.cc__Arduino_Uno_75833353035351C0E1A1-if00",
     "cdc_acm", "2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno", "75833353035351C0E1A1",
     true},
    {"/dev/ttyS0", "", "serial", "", "", "", "", "", true},
    {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "ftdi_sio",
     "0403", "6001", "FTDI", "FT232R USB UART", "A1B2C3", true},
};

void ExpectSameDevice(const SerialDevice& actual, const SerialDevice& expected) {
  SCOPED_TRACE(expected.node);
  EXPECT_EQ(actual.node, expected.node);
  EXPECT_EQ(actual.byIdLink, expected.byIdLink);
  EXPECT_EQ(actual.driver, expected.driver);
  EXPECT_EQ(actual.vendorId, expected.vendorId);
  EXPECT_EQ(actual.productId, expected.productId);
  EXPECT_EQ(actual.manufacturer, expected.manufacturer);
  EXPECT_EQ(actual.product, expected.product);
  EXPECT_EQ(actual.serial, expected.serial);
  EXPECT_EQ(actual.mayOpen, expected.mayOpen);
}

class SimulatedDevices : public testing::Test {
 protected:
  void SetUp() override {
    testbed_ = umockdev_testbed_new();
    ASSERT_TRUE(umockdev_in_mock_environment())
        << "run through umockdev-wrapper, or with libumockdev-preload.so.0 in LD_PRELOAD";
    GError* error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, kDevices, &error)) << error->message;
  }
  void TearDown() override { g_object_unref(testbed_); }

  UMockdevTestbed* testbed_ = nullptr;
};

TEST_F(SimulatedDevices, ListsTheDevicesOnHardwareWithWhatUdevKnowsSortedByNode) {
  const std::vector<SerialDevice> devices = ListSerialDevices();
  ASSERT_EQ(devices.size(), kListed.size());
  for (std::size_t i = 0; i < devices.size(); ++i) ExpectSameDevice(devices[i], kListed[i]);
}

TEST_F(SimulatedDevices, DescribesAListedNodeAsTheListDoes) {
  for (const SerialDevice& listed : kListed) ExpectSameDevice(DescribeDevice(listed.node), listed);
}

struct LabelCase {
  SerialDevice device;
  std::string label;
};

void PrintTo(const LabelCase& row, std::ostream* out) {
  *out << '"' << row.label << '"';
}

class DeviceLabelText : public testing::TestWithParam<LabelCase> {};

TEST_P(DeviceLabelText, LeavesOutWhatIsMissingWithItsSpacing) {
  EXPECT_EQ(DeviceLabel(GetParam().device), GetParam().label);
}

SerialDevice Named(std::string node, std::string manufacturer, std::string product,
                   std::string serial) {
  SerialDevice device;
  device.node = std::move(node);
  device.manufacturer = std::move(manufacturer);
  device.product = std::move(product);
  device.serial = std::move(serial);
  return device;
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DeviceLabelText,
    testing::Values(LabelCase{Named("/dev/ttyUSB0", "FTDI", "FT232R USB UART", "A1B2C3"),
                              "FTDI FT232R USB UART (A1B2C3) \u2014 /dev/ttyUSB0"},
                    LabelCase{Named("/dev/ttyUSB0", "", "FT232R USB UART", "A1B2C3"),
                              "FT232R USB UART (A1B2C3) \u2014 /dev/ttyUSB0"},
                    LabelCase{Named("/dev/ttyUSB0", "FTDI", "FT232R USB UART", ""),
                              "FTDI FT232R USB UART \u2014 /dev/ttyUSB0"},
                    LabelCase{Named("/dev/ttyUSB0", "", "FT232R USB UART", ""),
                              "FT232R USB UART \u2014 /dev/ttyUSB0"},
                    LabelCase{Named("/dev/ttyACM0", "Arduino (www.arduino.cc)", "", "7583"),
                              "Arduino (www.arduino.cc) (7583) \u2014 /dev/ttyACM0"},
                    // A serial number alone names nothing.
                    LabelCase{Named("/dev/ttyUSB1", "", "", "A1B2C3"), "/dev/ttyUSB1"},
                    LabelCase{Named("/dev/ttyS0", "", "", ""), "/dev/ttyS0"},
                    LabelCase{Named("/dev/pts/3", "", "", ""),
                              "Pseudo-terminal \u2014 /dev/pts/3"}));

TEST(DeviceLabelDash, IsTheUtf8EmDash) {
  EXPECT_EQ(DeviceLabel(Named("/dev/ttyS0", "", "UART", "")), "UART \xE2\x80\x94 /dev/ttyS0");
}

TEST(StableName, IsTheByIdLinkWhenThereIsOneElseTheNode) {
  SerialDevice device = kListed.back();
  EXPECT_EQ(StableName(device), "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
  device.byIdLink.clear();
  EXPECT_EQ(StableName(device), "/dev/ttyUSB0");
}

}  // namespace
