#include "panel/port_chooser.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "panel/ini_profile.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"
#include "support/fake_host.h"
#include "support/fake_port.h"
#include "support/ftdi_adapter.h"

namespace fs = std::filesystem;

namespace {

// The fake host with a real profile file.
class ProfileFileHost : public FakeHost {
 public:
  explicit ProfileFileHost(std::string path) : file_(std::move(path)) {}
  Profile& profile() override { return file_; }

 private:
  IniFileProfile file_;
};

SerialDevice Ftdi() {
  return FtdiAdapter("/dev/ttyUSB3");
}

class PortChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kelo-chooser-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string ProfileText() const {
    std::ifstream in(dir_ / "kelo.ini", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

// The choice is kept under [Ports] by its stable name; every other line stays.
TEST_F(PortChooserTest, ChoiceIsStoredUnderItsNumberKeepingTheFilesOtherLines) {
  std::ofstream(dir_ / "kelo.ini") << "; my bench\r\n[Kelo Config]\r\nComm Port=2\r\n"
                                      "[Ports]\r\nCOM5=/dev/ttyACM0\r\n";
  ProfileFileHost host((dir_ / "kelo.ini").string());
  FakeSerialPort port;
  CKeloConfigurationDlg dlg(host, port);
  dlg.OnInitDialog();
  dlg.chooser().Choose(Ftdi());
  EXPECT_EQ(ProfileText(),
            "; my bench\r\n[Kelo Config]\r\nComm Port=2\r\n[Ports]\r\nCOM5=/dev/ttyACM0\r\n"
            "COM2=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0\r\n");
  EXPECT_EQ(dlg.state().values.commPort, 2);
  EXPECT_EQ(dlg.controls().GetText(ids::kPortEdit), "2");
  EXPECT_EQ(dlg.connection().SelectedDevice(), Ftdi().byIdLink);

  // A device the profile names already keeps its number.
  SerialDevice acm;
  acm.node = "/dev/ttyACM0";
  dlg.chooser().Choose(acm);
  EXPECT_EQ(dlg.state().values.commPort, 5);
  EXPECT_EQ(dlg.controls().GetText(ids::kPortEdit), "5");
  EXPECT_EQ(dlg.connection().SelectedDevice(), "/dev/ttyACM0");
}

TEST_F(PortChooserTest, OffersTheDetectedAdaptersThenThoseNamedUnderPortsThatExist) {
  const int controller = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(controller, 0);
  ASSERT_EQ(grantpt(controller), 0);
  ASSERT_EQ(unlockpt(controller), 0);
  const std::string terminal = ptsname(controller);
  FakeHost host;
  host.profileStore.values["Ports/COM1"] = terminal;
  host.profileStore.values["Ports/COM2"] = "/dev/kelo-unplugged";
  host.profileStore.values["Ports/COM3"] = Ftdi().node;  // detected already: listed once
  FakeSerialPort port;
  CKeloConfigurationDlg dlg(host, port);
  std::vector<std::string> labels;
  for (const SerialDevice& device : dlg.chooser().Offered({Ftdi()})) {
    labels.push_back(DeviceLabel(device));
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"FTDI FT232R USB UART (A1B2C3) — /dev/ttyUSB3",
                                              "Pseudo-terminal — " + terminal}));
  close(controller);
}

TEST_F(PortChooserTest, ChoiceThatCannotBeKeptIsToldAndChangesNothing) {
  FakeHost host;
  host.profileStore.writesSucceed = false;
  FakeSerialPort port;
  CKeloConfigurationDlg dlg(host, port);
  dlg.OnInitDialog();
  dlg.chooser().Choose(Ftdi());
  EXPECT_EQ(host.MessageTexts(),
            std::vector<std::string>{
                "The choice of FTDI FT232R USB UART (A1B2C3) — /dev/ttyUSB3 could not be kept:\n"
                "disk full"});
  EXPECT_EQ(dlg.state().values.commPort, 1);
}

TEST_F(PortChooserTest, FindMachineAndConnectExcludeEachOther) {
  FakeHost host;
  host.profileStore.values["Ports/COM1"] = "/dev/null";  // exists, and is named: it is asked
  FakeSerialPort port;
  // Find machine's own ports, on which the machine answers.
  CKeloConfigurationDlg dlg(host, port, [] {
    auto asked = std::make_unique<FakeSerialPort>();
    asked->responder = [](const auto&) {
      return std::vector<uint8_t>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    };
    return asked;
  });
  dlg.OnInitDialog();

  // While Find runs, Connect waits for it, and opens what it found.
  dlg.chooser().FindMachine({});
  ASSERT_TRUE(dlg.chooser().finding());
  dlg.connection().OnConnectClicked();
  for (int tick = 0; tick < 3; ++tick) {
    dlg.OnTimer(kConnectTimerId);
    dlg.OnTimer(kLinkTimerId);
  }
  EXPECT_TRUE(port.calls.empty());
  while (dlg.chooser().finding()) dlg.OnTimer(kFindTimerId);
  EXPECT_EQ(dlg.chooser().found(), std::vector<std::string>{"/dev/null"});
  EXPECT_EQ(host.portLineTones, (std::vector{PortLineTone::kNews, PortLineTone::kFound}));
  dlg.OnTimer(kConnectTimerId);
  EXPECT_EQ(port.calls.front(), "open /dev/null");
  EXPECT_EQ(dlg.controls().GetText(ids::kStatusLine), "STATUS: Port Open");

  // While the port is open, Find is not offered, and asked all the same it does nothing.
  EXPECT_FALSE(dlg.chooser().CanFind());
  dlg.chooser().FindMachine({});
  EXPECT_FALSE(dlg.chooser().finding());
  EXPECT_TRUE(host.messages.empty());

  // Closed again, Find is offered; the window's end stops its tick with the others.
  dlg.connection().OnConnectClicked();
  ASSERT_TRUE(dlg.chooser().CanFind());
  dlg.chooser().FindMachine({});
  ASSERT_TRUE(host.runningTimers.contains(kFindTimerId));
  dlg.OnDestroy();
  EXPECT_TRUE(host.runningTimers.empty());
}

}  // namespace
