#include "panel/settings_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "panel/panel_sets.h"
#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The report is made from the panel's state alone.
PanelState StartUpPanel() {
  PanelState panel;
  panel.controls.FillComboLists();
  ApplyStartUpSet(panel.controls);
  return panel;
}

class SettingsReportTest : public ::testing::Test, protected PanelFixture {
 protected:
  SettingsReportTest() {
    directory = fs::temp_directory_path() /
                ("kelo-report-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  ~SettingsReportTest() override {
    fs::permissions(directory, fs::perms::owner_all);
    fs::remove_all(directory);
  }
  fs::path directory;
};

const char* const kStartUpReport =
    "KELO CONFIGURATION SETTINGS\r\n"
    "***************************\r\n"
    "Machine Name = Insert Name Here\r\n"
    "Machine Address = 157\r\n"
    "Retrig Timer = 2\r\n"
    "BackStop Timer = 15\r\n"
    "Run Timer = 10\r\n"
    "Input Polarity = Voltage Removed\r\n"
    "Power Save = Off\r\n"
    "System Status = System Fault\r\n"
    "Fluid Status = Fluid Low\r\n"
    "Aux In = +50\r\n"
    "Fault Suppress = Off\r\n"
    "Aux Out = 20  N/C  Non Latching\r\n"
    "Main Fault = 0  N/C  Non Latching\r\n"
    "Fan Control = +1\r\n"
    "Trig Relay = 0  N/C  Latching\r\n"
    "USB SAI on\r\n";

TEST(SettingsReport, StartUpPanelGivesTheEighteenLines) {
  EXPECT_EQ(SettingsReport(StartUpPanel()), kStartUpReport);
}

TEST(SettingsReport, EveryMarkAndComboTextFlipsItsLine) {
  PanelState panel = StartUpPanel();
  auto& m = panel.controls;
  for (int id : {ids::kPumpRunCheck, ids::kCompressorRunCheck, ids::kDmxIndicator,
                 ids::kRdmIndicator, ids::kFaultSuppressCheck, ids::kAuxOutLatchingCheck,
                 ids::kMainFaultLatchingCheck, ids::kUsbSaiOffCheck}) {
    m.SetCheck(id, 1);
  }
  for (int id : {ids::kAuxOutNcCheck, ids::kMainFaultNcCheck, ids::kTrigRelayNcCheck,
                 ids::kIdleEnableCheck}) {
    m.SetCheck(id, 0);
  }
  m.TypeComboText(ids::kRunTimeCombo, "free text");
  m.SetSelection(ids::kLocalTempCombo, 99);  // no selection, empty field
  m.SetSelection(ids::kPumpMaxCombo, 8);
  panel.machine.machineName = "NAME WITH\nBREAK  ";  // a line feed is a line end in the file
  panel.values.calValue = -3;
  m.SetText(ids::kSHtEdit, "9");  // typed, not read: not reported
  EXPECT_EQ(SettingsReport(panel),
            "KELO CONFIGURATION SETTINGS\r\n"
            "***************************\r\n"
            "Machine Name = NAME WITH\r\nBREAK  \r\n"
            "Machine Address = -3\r\n"
            "Retrig Timer = 2\r\n"
            "BackStop Timer = 15\r\n"
            "Run Timer = 10\r\n"
            "Input Polarity = Voltage Applied\r\n"
            "Power Save = On\r\n"
            "System Status = System Ok\r\n"
            "Fluid Status = Fluid Ok\r\n"
            "Aux In = free text\r\n"
            "Fault Suppress = On\r\n"
            "Aux Out =   N/O  Latching\r\n"
            "Main Fault = 0  N/O  Latching\r\n"
            "Fan Control = +8\r\n"
            "Trig Relay = 0  N/O  Non Latching\r\n"
            "USB SAI Off\r\n");
}

TEST_F(SettingsReportTest, SaveAllReplacesAnExistingFileWithExactlyTheReport) {
  const fs::path path = directory / "report";  // no extension is added
  std::ofstream(path) << std::string(5000, 'x');
  host.savePaths = {path.string()};
  dlg.commands().OnSaveAllClicked();
  EXPECT_EQ(ReadFile(path), kStartUpReport);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

TEST_F(SettingsReportTest, CancelOrEmptyPathDoesNothing) {
  host.savePaths = {std::nullopt, std::string()};
  dlg.commands().OnSaveAllClicked();
  dlg.commands().OnSaveAllClicked();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(fs::is_empty(directory));
}

TEST_F(SettingsReportTest, UnwritableFileIsReportedAndLeavesNothingBehind) {
  if (geteuid() == 0) {
    // Root writes into read-only folders; a path under a regular file fails for all.
    const fs::path blocker = directory / "file";
    std::ofstream(blocker) << "keep";
    host.savePaths = {(blocker / "report.txt").string()};
  } else {
    fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
    host.savePaths = {(directory / "report.txt").string()};
  }
  dlg.commands().OnSaveAllClicked();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text.starts_with("The file could not be written:\n"));
  EXPECT_NE(host.messages[0].text.find("report.txt\n"), std::string::npos);
  fs::permissions(directory, fs::perms::owner_all);
  for (const auto& entry : fs::directory_iterator(directory)) {
    EXPECT_EQ(entry.path().filename(), "file");
  }
}

TEST_F(SettingsReportTest, SavingIntoADirectoryPathFailsWithoutHarm) {
  host.savePaths = {directory.string()};
  dlg.commands().OnSaveAllClicked();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(fs::is_directory(directory));
  EXPECT_TRUE(fs::is_empty(directory));
}

}  // namespace
