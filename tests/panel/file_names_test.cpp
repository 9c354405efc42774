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
      {"Hall A/B\n", "settings", "Hall A_B_ settings 2026-12-07.txt"},
      {"", "settings", "Brumo settings 2026-12-07.txt"},
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
  EXPECT_EQ(f.host.suggestedNames,
            (std::vector<std::string>{"FOGGER-ONE settings 2026-12-07.txt",
                                      "FOGGER-ONE event log 2026-12-07.txt"}));
}

}  // namespace
