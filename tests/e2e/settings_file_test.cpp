// Settings files between two simulated machines over pseudo-terminals: saved from one,
// loaded and written to the other, checked byte for byte in the machine's read-back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

// Bytes 3 to 11 of the last reply with this code, as the trace prints them.
std::string LastPayload(const BatchRun& run, const std::string& code) {
  std::string payload;
  for (const std::string& bytes : run.All("rx")) {
    if (bytes.size() == 35 && bytes.substr(6, 2) == code) payload = bytes.substr(9);
  }
  return payload;
}

const std::vector<std::string> kMachineA = {"--name",        "FOGGER-ONE",
                                            "--settings",    "21,30,3,2,0x84,0x61,7,8,9",
                                            "--calibration", "12,4,20,45,1,2,3,4,5"};
// Every setting but the calibration values differs from A's.
const std::vector<std::string> kMachineB = {"--settings", "25,10,5,7,0x7B,0x2E,7,8,9",
                                            "--calibration", "200,4,20,45,1,2,3,4,5"};

std::vector<std::string> With(std::vector<std::string> options, const std::string& option,
                              const std::string& value) {
  options.insert(options.end(), {option, value});
  return options;
}

TEST(SettingsFiles, MachineBTakesMachineAsSettingsButItsOwnCalValue) {
  const std::string file = std::filesystem::temp_directory_path() /
                           ("kelo-e2e-settings-" + std::to_string(getpid()) + ".brumo");
  const BatchRun a = RunAgainstSimulator(
      kMachineA, "at 0 click 1026\nat 50 savesettings " + file + "\nat 51 quit\n");
  ASSERT_EQ(a.exitStatus, 0);

  // All but the machine's own values, then Write: B's blocks are A's but for Cal Value.
  const BatchRun all =
      RunAgainstSimulator(kMachineB, "at 0 click 1026\nat 50 loadsettings " + file +
                                         " all\nat 51 click 1018\nat 90 quit\n");
  EXPECT_EQ(LastPayload(all, "03"), "15 1e 03 02 84 61 07 08 09");
  EXPECT_EQ(LastPayload(all, "07"), "c8 04 14 2d 01 02 03 04 05");
  EXPECT_EQ(all.All("note"), std::vector<std::string>{});

  // Run Time and Pump Run ticked on a machine that refuses byte 8: only Run Time's bits
  // change, and the Write's check names what the machine kept.
  const BatchRun two =
      RunAgainstSimulator(With(kMachineB, "--refuse-setting", "8"),
                          "at 0 click 1026\nat 50 loadsettings " + file +
                              " Run Time,Pump Run\nat 51 click 1018\nat 90 quit\n");
  EXPECT_EQ(LastPayload(two, "03"), "19 1e 05 07 7b 2e 07 08 09");
  EXPECT_EQ(two.All("note"),
            std::vector<std::string>{"\"The machine kept Pump Run at checked (sent unchecked)\""});
  std::filesystem::remove(file);
}

}  // namespace
