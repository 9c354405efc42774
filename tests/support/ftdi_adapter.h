#pragma once

#include <string>
#include <utility>

#include "link/serial_devices.h"

// An FTDI USB serial adapter as libudev describes one, at the given node.
inline SerialDevice FtdiAdapter(std::string node) {
  SerialDevice device;
  device.node = std::move(node);
  device.byIdLink = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
  device.manufacturer = "FTDI";
  device.product = "FT232R USB UART";
  device.serial = "A1B2C3";
  device.vendorId = "0403";
  return device;
}
