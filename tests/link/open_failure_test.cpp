#include "link/open_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

struct ReasonCase {
  const char* name;
  int error;
  SeenAtDevice seen;
  std::string reason;
};

class OpenFailureReason : public ::testing::TestWithParam<ReasonCase> {};

// A view that shows the first line alone never shows part of a command.
TEST_P(OpenFailureReason, SaysWhatTheEngineerCanDoWithCommandsBelowTheFirstLine) {
  const ReasonCase& c = GetParam();
  const Failure failure = OpenFailure("/dev/ttyUSB0", c.error, c.seen);
  EXPECT_EQ(failure.reason, c.reason);
  EXPECT_EQ(failure.error, c.seen.holders.empty() ? c.error : EBUSY);
  EXPECT_EQ(failure.reason.substr(0, failure.reason.find('\n')).find("sudo"), std::string::npos);
}

const std::string kBrlttyHint =
    "\nbrltty takes USB serial adapters for braille displays: sudo systemctl mask "
    "brltty-udev.service, then unplug and replug the adapter";

INSTANTIATE_TEST_SUITE_P(
    Reasons, OpenFailureReason,
    ::testing::Values(
        ReasonCase{"Missing", ENOENT, {}, "No such device: /dev/ttyUSB0"},
        ReasonCase{"Unplugged", ENXIO, {}, "No such device: /dev/ttyUSB0"},
        ReasonCase{"NoPermissionInDialout",
                   EACCES,
                   {{}, {}, DeviceAccess{"root", "dialout", 0660}},
                   "Permission denied: /dev/ttyUSB0 — add yourself to the dialout group:\nsudo "
                   "usermod -aG dialout $USER, then log in again"},
        ReasonCase{"NoPermissionForAnyone",
                   EACCES,
                   {{}, {}, DeviceAccess{"root", "root", 0}},
                   "Permission denied: /dev/ttyUSB0 is root:root, mode 000"},
        ReasonCase{"NoPermissionForDialout",
                   EACCES,
                   {{}, {}, DeviceAccess{"root", "dialout", 0604}},
                   "Permission denied: /dev/ttyUSB0 is root:dialout, mode 604"},
        ReasonCase{"NoPermissionOtherGroup",
                   EACCES,
                   {{}, {}, DeviceAccess{"1001", "uucp", 0660}},
                   "Permission denied: /dev/ttyUSB0 is 1001:uucp, mode 660"},
        ReasonCase{"NoPermissionUnseen", EACCES, {}, "Permission denied: /dev/ttyUSB0"},
        ReasonCase{"HeldBySomeone",
                   EBUSY,
                   {{{812, "brltty"}}, {}, {}},
                   "/dev/ttyUSB0 is in use by brltty (PID 812)" + kBrlttyHint},
        ReasonCase{"HeldByTwo",
                   EWOULDBLOCK,
                   {{{40, "minicom"}, {41, "cat"}}, {}, {}},
                   "/dev/ttyUSB0 is in use by minicom (PID 40), cat (PID 41)"},
        ReasonCase{"LikelyModemManager",
                   EBUSY,
                   {{}, {{300, "ModemManager"}}, {}},
                   "/dev/ttyUSB0 is likely in use by ModemManager (PID 300)\nModemManager probes "
                   "new serial devices: sudo systemctl stop ModemManager, then connect again"},
        ReasonCase{"BusyUnseen", EBUSY, {}, "Busy: another program holds /dev/ttyUSB0"},
        ReasonCase{"OtherError", EIO, {}, "Input/output error: /dev/ttyUSB0"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
