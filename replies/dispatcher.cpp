#include "replies/dispatcher.h"

#include "link/command_codes.h"
#include "replies/decoders.h"
#include "replies/log_follower.h"
#include "replies/reply_bytes.h"

namespace {

using Decoder = void (*)(const Frame& reply, PanelState& panel, LogFollower& log);

struct Route {
  int code;
  Decoder decode;
};

template <void (*Decode)(const Frame&, PanelState&)>
void ToPanel(const Frame& reply, PanelState& panel, LogFollower& /*log*/) {
  Decode(reply, panel);
}

constexpr Route kRoutes[] = {
    {cmd::kReadStatus, ToPanel<DecodeStatus>},
    {cmd::kReadSettings, ToPanel<DecodeSettings>},
    {cmd::kReadLogRecord,
     [](const Frame& reply, PanelState&, LogFollower& log) { log.OnRecordReply(reply, false); }},
    {cmd::kReadCalibration, ToPanel<DecodeCalibration>},
    {cmd::kReadNameFirstHalf, ToPanel<DecodeNameFirstHalf>},
    {cmd::kReadNameSecondHalf, ToPanel<DecodeNameSecondHalf>},
    {cmd::kReadServiceDate, ToPanel<DecodeServiceDate>},
    {cmd::kReadClock, ToPanel<DecodeClock>},
    {cmd::kReadLogPointer,
     [](const Frame& reply, PanelState&, LogFollower& log) { log.OnLogPointerReply(reply); }},
    {cmd::kReadFirmware, ToPanel<DecodeFirmware>},
    {cmd::kReadLogRecordAt,
     [](const Frame& reply, PanelState&, LogFollower& log) { log.OnRecordReply(reply, true); }},
    {cmd::kReadCalProgress, ToPanel<DecodeCalProgress>},
    {cmd::kReadTemperatures, ToPanel<DecodeTemperatures>},
    {cmd::kReadPressures, ToPanel<DecodePressures>},
};

}  // namespace

bool DispatchReply(const Frame& reply, PanelState& panel, LogFollower& log) {
  const int code = ReplyByte(reply, 2);
  for (const Route& route : kRoutes) {
    if (route.code == code) {
      route.decode(reply, panel, log);
      return true;
    }
  }
  return false;
}
