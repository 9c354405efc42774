#pragma once

#include <string>
#include <vector>

// One serial device of this computer, as the panel offers it to the engineer. Every text is
// empty when udev does not know it.
struct SerialDevice {
  std::string node;          // "/dev/ttyUSB0"
  std::string byIdLink;      // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0"
  std::string driver;        // "ftdi_sio", "cdc_acm", "pl2303", ...
  std::string vendorId;      // USB idVendor, "0403"
  std::string productId;     // USB idProduct, "6001"
  std::string manufacturer;  // "FTDI"
  std::string product;       // "FT232R USB UART"
  std::string serial;        // "A1B2C3"
  bool mayOpen = false;      // the current user may open it for reading and writing
};

// Every serial device udev knows (subsystem "tty") that sits on real hardware: its parent
// device has a driver (USB adapters, CDC ACM modems, on-board UARTs that probed). Virtual
// consoles, pseudo-terminals and the placeholder ports of the legacy 8250 driver are left out.
// Sorted by node. Empty when udev is unavailable.
std::vector<SerialDevice> ListSerialDevices();

// A device named by path, which udev may not know (a pseudo-terminal named in the profile, a
// by-id link): the node that the path leads to through symbolic links, and whatever udev knows
// of it. A path under /dev/serial/by-id/ is kept as the by-id link even when udev has none.
SerialDevice DescribeDevice(const std::string& path);

// How the panel lists a device: "FTDI FT232R USB UART (A1B2C3) — /dev/ttyUSB0". Missing parts
// are left out with their spacing; without manufacturer and product the node stands alone,
// and a pseudo-terminal reads "Pseudo-terminal — /dev/pts/3".
std::string DeviceLabel(const SerialDevice& device);

// The name to store for a device: its by-id link, which survives replugging, else its node.
std::string StableName(const SerialDevice& device);
