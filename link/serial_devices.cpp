#include "link/serial_devices.h"

#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view kByIdFolder = "/dev/serial/by-id/";
constexpr std::string_view kPseudoTerminalFolder = "/dev/pts/";
constexpr const char* kLabelDash = " \u2014 ";
// The 8250 driver registers its legacy ports on this platform device whether or not a UART
// answers there; ports that did probe hang under their ACPI, PnP or PCI device instead.
constexpr std::string_view kLegacy8250Device = "serial8250";

struct UdevUnref {
  void operator()(udev* context) const { udev_unref(context); }
  void operator()(udev_enumerate* enumeration) const { udev_enumerate_unref(enumeration); }
  void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevUnref>;

std::string Text(const char* value) {
  return value != nullptr ? value : "";
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool MayOpen(const std::string& node) {
  return !node.empty() && access(node.c_str(), R_OK | W_OK) == 0;
}

// DEVLINKS lists every symbolic link udev made for the device, separated by spaces.
std::string ByIdLink(const char* devlinks) {
  std::istringstream links(Text(devlinks));
  std::string link;
  while (links >> link) {
    if (StartsWith(link, kByIdFolder)) return link;
  }
  return {};
}

// udev's usb_id names the USB interface's driver; without it, the driver of the device the
// tty hangs on (the interface for cdc_acm, the usb-serial port for ftdi_sio) says the same.
std::string DriverOf(udev_device* tty) {
  std::string usbDriver = Text(udev_device_get_property_value(tty, "ID_USB_DRIVER"));
  if (!usbDriver.empty()) return usbDriver;
  udev_device* parent = udev_device_get_parent(tty);
  return parent != nullptr ? Text(udev_device_get_driver(parent)) : "";
}

bool SitsOnHardware(udev_device* tty) {
  udev_device* parent = udev_device_get_parent(tty);
  if (parent == nullptr || udev_device_get_driver(parent) == nullptr) return false;
  udev_device* platform = udev_device_get_parent_with_subsystem_devtype(tty, "platform", nullptr);
  return platform == nullptr || Text(udev_device_get_sysname(platform)) != kLegacy8250Device;
}

void AddWhatUdevKnows(udev_device* tty, SerialDevice& device) {
  if (const char* node = udev_device_get_devnode(tty)) device.node = node;
  device.byIdLink = ByIdLink(udev_device_get_property_value(tty, "DEVLINKS"));
  device.driver = DriverOf(tty);
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
  if (usb == nullptr) return;
  device.vendorId = Text(udev_device_get_sysattr_value(usb, "idVendor"));
  device.productId = Text(udev_device_get_sysattr_value(usb, "idProduct"));
  device.manufacturer = Text(udev_device_get_sysattr_value(usb, "manufacturer"));
  device.product = Text(udev_device_get_sysattr_value(usb, "product"));
  device.serial = Text(udev_device_get_sysattr_value(usb, "serial"));
}

// The path with every symbolic link resolved, or the path itself when it leads nowhere.
std::string ResolvedPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(path, error);
  return error ? path : resolved.string();
}

// The tty device udev has for the character device at `path`, if any.
UdevPtr<udev_device> UdevDeviceAt(udev* context, const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) return nullptr;
  return UdevPtr<udev_device>(udev_device_new_from_devnum(context, 'c', status.st_rdev));
}

void Append(std::string& text, const std::string& part) {
  if (part.empty()) return;
  if (!text.empty()) text += ' ';
  text += part;
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices() {
  std::vector<SerialDevice> devices;
  const UdevPtr<udev> context(udev_new());
  if (!context) return devices;
  const UdevPtr<udev_enumerate> enumeration(udev_enumerate_new(context.get()));
  if (!enumeration || udev_enumerate_add_match_subsystem(enumeration.get(), "tty") < 0 ||
      udev_enumerate_scan_devices(enumeration.get()) < 0) {
    return devices;
  }
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get())) {
    const UdevPtr<udev_device> tty(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (!tty || udev_device_get_devnode(tty.get()) == nullptr || !SitsOnHardware(tty.get())) {
      continue;
    }
    SerialDevice device;
    AddWhatUdevKnows(tty.get(), device);
    device.mayOpen = MayOpen(device.node);
    devices.push_back(std::move(device));
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.node < b.node; });
  return devices;
}

SerialDevice DescribeDevice(const std::string& path) {
  SerialDevice device;
  const UdevPtr<udev> context(udev_new());
  if (const UdevPtr<udev_device> tty = context ? UdevDeviceAt(context.get(), path) : nullptr) {
    AddWhatUdevKnows(tty.get(), device);
  }
  // udev's own name for its devices; links are followed only for the rest.
  if (device.node.empty()) device.node = ResolvedPath(path);
  if (device.byIdLink.empty() && StartsWith(path, kByIdFolder)) device.byIdLink = path;
  device.mayOpen = MayOpen(device.node);
  return device;
}

std::string DeviceLabel(const SerialDevice& device) {
  if (StartsWith(device.node, kPseudoTerminalFolder)) {
    return std::string("Pseudo-terminal") + kLabelDash + device.node;
  }
  std::string name;
  Append(name, device.manufacturer);
  Append(name, device.product);
  if (name.empty()) return device.node;
  if (!device.serial.empty()) Append(name, "(" + device.serial + ")");
  return name + kLabelDash + device.node;
}

std::string StableName(const SerialDevice& device) {
  return device.byIdLink.empty() ? device.node : device.byIdLink;
}
