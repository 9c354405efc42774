#include "panel/file_names.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

struct NameCase {
  const char* machine;
  const char* what;
  const char* suggested;
};

// The test binaries run with TZ=UTC; 1,796,601,600 s is 2026-12-07 00:00 UTC.
TEST(SuggestedFileName, IsTheMachinesNameWhatAndTheDate) {
  const NameCase cases[] = {
      {"FOGGER-ONE", "settings", "FOGGER-ONE settings 2026-12-07.txt"},
      {"FOGGER-ONE      ", "event log", "FOGGER-ONE event log 2026-12-07.txt"},
      {"Hall A/B\n", "settings", "Hall A_B\\x0a settings 2026-12-07.txt"},
      {"", "settings", "Brumo settings 2026-12-07.txt"},
      {" .-.-rf X\x1b[2J\xff", "settings", "rf X\\x1b[2J\\xff settings 2026-12-07.txt"},
      {"\xe2\x80\xae\xc2\x9b"
       "EVIL\xe2\x81\xa6txt.exe",
       "", "EVILtxt.exe 2026-12-07.txt"},
      {"..\xe2\x80\x8f", "settings", "Brumo settings 2026-12-07.txt"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(SuggestedFileName(c.machine, c.what, 1'796'601'600), c.suggested) << c.machine;
  }
}

TEST(SaveDialogs, SuggestTheNameOfWhatTheySave) {
  PanelFixture f;
  sim::MachineSetup machine;
  machine.name = "FOGGER-ONE";
  f.host.now = 1'796'601'600;
  f.ConnectToMachine(machine);
  f.dlg.commands().OnSaveAllClicked();
  f.dlg.commands().OnSaveLogClicked();
  f.dlg.service().OnRecordClicked();
  f.dlg.service().OnExportCsvClicked();
  f.dlg.service().OnServiceBundleClicked();
  EXPECT_EQ(f.host.suggestedNames,
            (std::vector<std::string>{
                "FOGGER-ONE settings 2026-12-07.txt", "FOGGER-ONE event log 2026-12-07.txt",
                "FOGGER-ONE recording 2026-12-07.csv", "FOGGER-ONE telemetry 2026-12-07.csv",
                "FOGGER-ONE 2026-12-07.zip"}));
}

}  // namespace
