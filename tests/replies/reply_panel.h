#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"

// A panel after dialog initialisation, with a fake host and port, to which tests hand
// reply frames as the link cycle would.
struct ReplyPanel {
  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg panel{host, port};

  ReplyPanel() { panel.OnInitDialog(); }

  // A reply of the given code: bytes 0 and 1 are 0, the payload starts at byte 3 and
  // the bytes it does not name are 0.
  void Deliver(int code, std::initializer_list<int> payload = {}) {
    panel.replyFrame.fill(0);
    panel.replyFrame[2] = code;
    int index = 3;
    for (int byte : payload) panel.replyFrame[static_cast<std::size_t>(index++)] = byte;
    panel.DispatchReply();
  }

  // An event record reply (5 or 21) with a 32-bit time sent least significant first.
  void DeliverRecord(int code, uint32_t time, int type, int bits = 0) {
    Deliver(code,
            {static_cast<int>(time & 0xFF), static_cast<int>((time >> 8) & 0xFF),
             static_cast<int>((time >> 16) & 0xFF), static_cast<int>(time >> 24), type, bits});
  }

  void DeliverLogPointer(int pointer) { Deliver(17, {pointer & 0xFF, (pointer >> 8) & 0xFF}); }

  ControlModel& controls() { return panel.controls(); }

  std::vector<std::string> EventLines() const {
    return panel.controls().Find(ids::kEventList)->lines;
  }

  std::vector<int32_t> StackedCodes() const {
    std::vector<int32_t> codes;
    for (int i = 1; i <= panel.msgStack.GetCount(); ++i) codes.push_back(panel.msgStack.SlotAt(i));
    return codes;
  }
};

// A machine on the far end of the fake port: it answers every request with a reply of
// the request's code. Its event log holds at each address a record whose time is
// kBaseTime + address and whose type is (address / 6) % 24 + 1.
struct MachineDouble {
  static constexpr uint32_t kBaseTime = 1'700'000'000;  // 11/14/23 22:13:20 UTC
  int logPointer = 0;

  std::vector<uint8_t> Answer(const FakeSerialPort::Frame& request) const {
    std::vector<uint8_t> reply(12, 0);
    reply[2] = request[2];
    const int address = request[3] | (request[4] << 8);
    switch (request[2]) {
      case 17:
        reply[3] = static_cast<uint8_t>(logPointer & 0xFF);
        reply[4] = static_cast<uint8_t>(logPointer >> 8);
        break;
      case 5:
      case 21: {
        const uint32_t time = kBaseTime + static_cast<uint32_t>(address);
        for (int i = 0; i < 4; ++i)
          reply[static_cast<std::size_t>(3 + i)] = (time >> (8 * i)) & 0xFF;
        reply[7] = static_cast<uint8_t>((address / 6) % 24 + 1);
        reply[8] = 0x0F;
        break;
      }
      default:
        break;
    }
    return reply;
  }

  FakeSerialPort::Responder Responder() {
    return [this](const FakeSerialPort::Frame& request) { return Answer(request); };
  }
};

// The log address a request frame asks for (requests 5 and 21).
inline int RequestedAddress(const FakeSerialPort::Frame& frame) {
  return frame[3] | (frame[4] << 8);
}
