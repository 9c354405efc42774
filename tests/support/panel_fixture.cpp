#include "support/panel_fixture.h"

void PanelFixture::LinkTicks(int count) {
  for (int i = 0; i < count; ++i) {
    dlg.OnTimer(kLinkTimerId);
    host.RunEventLoop();
  }
}

void PanelFixture::ConnectTicks(int count) {
  for (int i = 0; i < count; ++i) dlg.OnTimer(kConnectTimerId);
}

void PanelFixture::Connect() {
  dlg.connection().OnConnectClicked();
  ConnectTicks(1);
}

void PanelFixture::Settle(int limit) {
  const LinkEngine& link = dlg.link();
  for (int i = 0; i < limit; ++i) {
    if (link.queue().GetCount() == 0 && link.replyCountdown() == 0) return;
    LinkTicks(1);
  }
}

void PanelFixture::ConnectToMachine(const sim::MachineSetup& setup) {
  port.responder = MachineResponder(setup);
  Connect();
  Settle();
}

std::vector<int> PanelFixture::QueuedCodes() const {
  const MsgStack& queue = dlg.link().queue();
  std::vector<int> codes;
  for (int i = queue.GetCount(); i >= 1; --i) codes.push_back(queue.SlotAt(i));
  return codes;
}
