#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panel/operator_events.h"
#include "panel/settings_file_commands.h"
#include "support/operator_controls.h"
#include "support/panel_fixture.h"

namespace {

// Two machines that differ in every setting, each value one the panel's controls can set.
sim::MachineSetup MachineA() {
  sim::MachineSetup a;
  a.name = "FOGGER-ONE";
  a.settings = {21, 30, 0x03, 0x02, 0x84, 0x61, 0, 0, 0};
  a.calibration = {12, 4, 20, 45, 0, 0, 0, 0, 0};
  return a;
}

sim::MachineSetup MachineB() {
  sim::MachineSetup b;
  b.settings = {25, 10, 0x05, 0x07, 0x7B, 0x2E, 0, 0, 0};
  b.calibration = {200, 8, 30, 50, 0, 0, 0, 0, 0};
  return b;
}

std::string Saved(const std::string& name, const std::string& content) {
  const std::string path = std::filesystem::temp_directory_path() /
                           ("kelo-settings-" + std::to_string(getpid()) + "-" + name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// Machine A's settings file, saved from a panel connected to it.
std::string FileOfA() {
  PanelFixture a;
  a.ConnectToMachine(MachineA());
  return Saved("a.brumo", *MachineSettingsFile(a.state(), a.host.now));
}

std::vector<std::string> Snapshot(const ControlModel& controls) {
  std::vector<std::string> shown;
  for (const ControlState& c : controls.All()) {
    shown.push_back(c.text + "|" + std::to_string(c.check) + "|" + std::to_string(c.selection));
  }
  return shown;
}

class SettingsCommandsTest : public ::testing::Test, protected PanelFixture {
 protected:
  SettingsFileCommands& files() { return dlg.settingsFiles(); }
};

// A's file on machine B: every setting differs (and bits 5 and 1 of byte 7, which travel
// with the main fault's boxes), the machine's own calibration unticked.
TEST_F(SettingsCommandsTest, CompareListsWhatDiffersAndLeavesAnotherMachinesCalibration) {
  ConnectToMachine(MachineB());
  const std::optional<Comparison> comparison = files().CompareWithFile(FileOfA());
  ASSERT_TRUE(comparison);
  EXPECT_EQ(CompareSummary(*comparison), "20 settings differ, 1 is the same");
  EXPECT_EQ(comparison->headlines,
            std::vector<std::string>{"This file comes from another machine, \"FOGGER-ONE\" (this "
                                     "one is \"Brumo Sim Unit 1\"): Cal Value and the other "
                                     "calibration values start unticked."});
  for (std::size_t s = 0; s < comparison->rows.size(); ++s) {
    const CompareRow& row = comparison->rows[s];
    EXPECT_EQ(row.setting, s);
    EXPECT_EQ(row.differs && row.settable, s < kNamedSettingCount) << s;
    EXPECT_EQ(row.ticked, s < kFirstCalibrationSetting) << s;
  }
  EXPECT_EQ(comparison->rows[1].current + " " + comparison->rows[1].file, "+10 +30");
}

// Each setting of A's file ticked alone, applied and written to B, changes exactly the bits
// its control owns; all that start ticked make B's settings A's and keep B's calibration;
// and the machine's read-back verifies each Write.
TEST(SettingsApply, WriteSendsExactlyTheAppliedSettings) {
  const std::string fileOfA = FileOfA();
  const sim::MachineSetup a = MachineA();
  const sim::MachineSetup b = MachineB();
  std::vector<std::string> faults;
  for (std::size_t s = 0; s <= kNamedSettingCount; ++s) {
    PanelFixture panel;
    panel.ConnectToMachine(b);
    SettingsFileCommands& files = panel.dlg.settingsFiles();
    const Comparison comparison = *files.CompareWithFile(fileOfA);
    std::vector<FakeSerialPort::Frame> expected{Request(4, b.settings), Request(8, b.calibration)};
    std::vector<std::size_t> ticked;
    if (s == kNamedSettingCount) {
      for (const CompareRow& row : comparison.rows) {
        if (row.ticked) ticked.push_back(row.setting);
      }
      expected[0] = Request(4, a.settings);
    } else {
      ticked = {s};
      const OwnedBits& owned = kOperatorControls[s];
      const auto& from = owned.code == 4 ? a.settings : a.calibration;
      uint8_t& sent = expected[owned.code == 4 ? 0 : 1][owned.byte + 3];
      sent = static_cast<uint8_t>((sent & ~owned.mask) | (from[owned.byte] & owned.mask));
    }
    panel.port.written.clear();
    files.ApplyAndWrite(comparison, ticked);
    panel.LinkTicks(3);
    const auto sent = panel.port.SentFrames();
    panel.Settle();
    panel.LinkTicks(1);
    const auto& verdict = panel.dlg.writeVerification().last();
    if (sent != expected || !panel.host.messages.empty() || !verdict || !verdict->verified()) {
      faults.push_back("setting " + std::to_string(s));
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

// Without a connection the file is compared with the panel's controls, as it says.
TEST_F(SettingsCommandsTest, WithoutAConnectionTheControlsStandForTheMachine) {
  const std::optional<Comparison> comparison = files().CompareWithFile(FileOfA());
  ASSERT_TRUE(comparison);
  EXPECT_TRUE(comparison->withPanel);
  EXPECT_EQ(comparison->headlines.front(),
            "Not connected: the file is compared with what the panel's controls show.");
  EXPECT_EQ(comparison->rows.size(), kNamedSettingCount);
  EXPECT_EQ(CompareSummary(*comparison), "13 settings differ, 6 are the same");
}

// What cannot be compared or saved is told, and the panel is left as it was.
TEST_F(SettingsCommandsTest, RefusalsTellWhyAndChangeNothing) {
  const std::string badText = "Brumo settings file, version 7\n";
  const std::string bad = Saved("bad.brumo", badText);
  const std::string noFile = Saved("gone", "") + ".missing";
  const struct {
    bool blocksIn;
    std::function<void(SettingsFileCommands&)> act;
    std::string message;
  } cases[] = {
      {false, [&](SettingsFileCommands& f) { f.CompareWithFile(bad); }, "Wait for Rx to complete"},
      {false, [&](SettingsFileCommands& f) { f.SaveSettingsFile(bad); }, "Wait for Rx to complete"},
      {true, [&](SettingsFileCommands& f) { f.LoadSettings(bad, {}); },
       "The settings file cannot be used:\n" + bad +
           "\nLine 1: the file is of version 7, newer than this program reads (version 1)"},
      {true, [&](SettingsFileCommands& f) { f.CompareWithFile(noFile); },
       "The settings file cannot be used:\n" + noFile + "\nNo such file or directory"},
  };
  for (const auto& c : cases) {
    PanelFixture panel;
    const auto machine = MachineResponder(MachineB());
    panel.port.responder = [&](const FakeSerialPort::Frame& request) {
      return request[2] == 3 && !c.blocksIn ? std::vector<uint8_t>{} : machine(request);
    };
    panel.Connect();
    panel.Settle();
    const std::vector<std::string> before = Snapshot(panel.dlg.controls());
    c.act(panel.dlg.settingsFiles());
    EXPECT_EQ(panel.host.MessageTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(Snapshot(panel.dlg.controls()), before);
    std::ostringstream kept;
    kept << std::ifstream(bad).rdbuf();
    EXPECT_EQ(kept.str(), badText);
  }
}

// The read-back names each setting the machine did not take, or that it never came.
TEST(WriteVerification, TellsWhatTheMachineDidNotTake) {
  const struct {
    uint16_t refusedBytes;
    bool silentAfterWrite;
    std::vector<std::string> notes;
    std::string verdict;
  } cases[] = {
      {0, false, {}, "Write verified: the machine holds what was sent"},
      {1U << 4,
       false,
       {"The machine kept Run Time at +10 (sent +30)", "The machine kept S_Ht (C) at 8 (sent 4)"},
       "The machine kept Run Time at +10 (sent +30); The machine kept S_Ht (C) at 8 (sent 4)"},
      {0, true, {"Write not verified: no readback"}, "Write not verified: no readback"},
  };
  const std::string fileOfA = FileOfA();
  for (const auto& c : cases) {
    sim::MachineSetup b = MachineB();
    b.refusedBytes = c.refusedBytes;
    PanelFixture panel;
    panel.ConnectToMachine(b);
    bool written = false;
    const auto machine = panel.port.responder;
    panel.port.responder = [&](const FakeSerialPort::Frame& request) {
      written = written || request[2] == 8;
      return written && c.silentAfterWrite ? std::vector<uint8_t>{} : machine(request);
    };
    SettingsFileCommands& files = panel.dlg.settingsFiles();
    const std::size_t sHt = kFirstCalibrationSetting + 1;
    files.ApplyAndWrite(*files.CompareWithFile(fileOfA), {1, sHt});
    panel.Settle();
    panel.LinkTicks(1);
    EXPECT_EQ(panel.host.notes, c.notes);
    ASSERT_TRUE(panel.dlg.writeVerification().last());
    EXPECT_EQ(panel.dlg.writeVerification().last()->Text(), c.verdict);
  }
}

}  // namespace
