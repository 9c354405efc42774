#include "replies/event_texts.h"

#include <array>

#include "replies/time_text.h"

namespace {

// By event type, 1 first. The runs of trailing spaces differ and are part of the texts.
constexpr std::array<std::string_view, 24> kEventTexts = {
    "System Set at             ",      // 1
    "System Unset at           ",      // 2
    "System Activation at      ",      // 3
    "System Retriger at        ",      // 4
    "System Activation End at  ",      // 5
    "System Power-Down at      ",      // 6
    "Zonesensor Activation at ",       // 7
    "Input Change at           ",      // 8
    "Status Change at           ",     // 9
    "Panic Activation at       ",      // 10
    "Test Activation at        ",      // 11
    "Battery Save Mode at        ",    // 12
    "Brown-out on 12V at        ",     // 13
    "SAI Mode Started at       ",      // 14
    "SAI Mode Ended at        ",       // 15
    "System Power-Up at       ",       // 16
    "Service Reset at         ",       // 17
    "System Time set at         ",     // 18
    "Log End at         ",             // 19
    "Aux Power off at         ",       // 20
    "USB Connected at       ",         // 21
    "USB Disconnected at        ",     // 22
    "System Standby at             ",  // 23
    "System Restart at             ",  // 24
};
constexpr std::string_view kUnknownEventText = " ??? ";

constexpr int kInputChangeType = 8;
constexpr int kStatusChangeType = 9;

struct BitText {
  int bit;
  std::string_view whenSet;
  std::string_view whenClear;
};

// Input bits, bit 7 first. Only "PIR off" has no trailing comma.
constexpr BitText kInputBits[] = {
    {7, "smoke on,", "smoke off,"}, {6, "set on,", "set off,"},
    {5, "fire on,", "fire off,"},   {4, "aux-in on,", "aux-in off,"},
    {3, "test on,", "test off,"},   {2, "Case closed,", "Case open,"},
    {1, "CS on,", "CS off,"},       {0, "PIR on,", "PIR off"},
};

// Status bits; bit 3 is not shown. Only "Sys fault" has no trailing comma.
constexpr BitText kStatusBits[] = {
    {0, "Bat on,", "Bat off,"},         {1, "Mains on,", "Mains off,"},
    {2, "Ready on,", "Ready off,"},     {4, "Temp-err on,", "Temp-err off,"},
    {5, "Low flu on,", "Low flu off,"}, {6, "No flu on,", "No flu off,"},
    {7, "Sys ok,", "Sys fault"},
};

template <std::size_t N>
std::string BitsLine(std::string_view head, const BitText (&texts)[N], int bits) {
  std::string line(head);
  for (const BitText& text : texts) line += (bits >> text.bit) & 1 ? text.whenSet : text.whenClear;
  return line;
}

}  // namespace

std::string_view EventText(int type) {
  if (type < 1 || type > static_cast<int>(kEventTexts.size())) return kUnknownEventText;
  return kEventTexts[static_cast<std::size_t>(type - 1)];
}

std::string EventLine(int type, int64_t time) {
  std::string line = "Event = ";
  line += EventText(type);
  line += FormatTime(time, "%x");
  line += ' ';
  line += FormatTime(time, "%X");
  return line;
}

std::string EventDetailLine(int type, int bits) {
  if (type == kInputChangeType) return BitsLine("***Inputs = ", kInputBits, bits);
  if (type == kStatusChangeType) return BitsLine("***Status = ", kStatusBits, bits);
  return {};
}
