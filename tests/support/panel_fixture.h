#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"

// A panel after window creation, with an in-memory port and a scripted host.
class PanelFixture : public ::testing::Test {
 protected:
  PanelFixture() { dlg.OnInitDialog(); }

  // The state the connection manager leaves after a successful open.
  void OpenPort() {
    port.handle = PortHandle::kOpen;
    dlg.portOpen = true;
  }

  void LinkTicks(int count) {
    for (int i = 0; i < count; ++i) dlg.OnTimer(kLinkTimerId);
  }

  // Command codes in the order the link would send them, emptying the stack.
  std::vector<int> DrainStack() {
    std::vector<int> codes;
    while (dlg.msgStack.GetCount() > 0) codes.push_back(dlg.msgStack.Pop());
    return codes;
  }

  std::string Text(int id) const { return dlg.controls().GetText(id); }

  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg dlg{host, port};
};
