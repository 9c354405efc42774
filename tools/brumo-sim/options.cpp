#include "tools/brumo-sim/options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

namespace sim {
namespace {

// Decimal, or hexadecimal after "0x"; an optional leading minus.
std::optional<int64_t> ParseInt(std::string_view text, int64_t min, int64_t max) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  const int64_t value =
      negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (value < min || value > max) return std::nullopt;
  return value;
}

// Seconds, fractions allowed, as milliseconds.
std::optional<int64_t> ParseSecondsAsMs(std::string_view text, double maxSeconds) {
  double seconds = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!(seconds >= 0 && seconds <= maxSeconds)) return std::nullopt;
  return std::llround(seconds * 1000);
}

// "21,20,3,2,0x84,0x63": at least `shortest` and at most N bytes; the bytes not given
// are 0.
template <std::size_t N>
std::optional<std::array<uint8_t, N>> ParseByteList(std::string_view text, std::size_t shortest) {
  std::array<uint8_t, N> bytes{};
  std::size_t count = 0;
  for (;;) {
    const std::size_t comma = text.find(',');
    const auto value = ParseInt(text.substr(0, comma), 0, 255);
    if (!value || count == N) return std::nullopt;
    bytes[count++] = static_cast<uint8_t>(*value);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (count < shortest) return std::nullopt;
  return bytes;
}

struct Option {
  std::string_view name;
  bool takesValue;
  // Applies the value; false when it is not acceptable.
  std::function<bool(std::string_view)> apply;
};

template <typename T>
std::function<bool(std::string_view)> SetInt(T& target, int64_t min, int64_t max) {
  return [&target, min, max](std::string_view text) {
    const auto value = ParseInt(text, min, max);
    if (value) target = static_cast<T>(*value);
    return value.has_value();
  };
}

template <typename T>
std::function<bool(std::string_view)> SetOptionalInt(std::optional<T>& target, int64_t min,
                                                     int64_t max) {
  return [&target, min, max](std::string_view text) {
    const auto value = ParseInt(text, min, max);
    if (value) target = static_cast<T>(*value);
    return value.has_value();
  };
}

std::function<bool(std::string_view)> SetText(std::string& target, std::size_t maxLength) {
  return [&target, maxLength](std::string_view text) {
    if (text.size() > maxLength) return false;
    target = text;
    return true;
  };
}

template <std::size_t N>
std::function<bool(std::string_view)> SetBytes(std::array<uint8_t, N>& target,
                                               std::size_t shortest) {
  return [&target, shortest](std::string_view text) {
    const auto bytes = ParseByteList<N>(text, shortest);
    if (bytes) target = *bytes;
    return bytes.has_value();
  };
}

std::vector<Option> OptionTable(ParsedOptions& parsed) {
  SimOptions& o = parsed.options;
  MachineSetup& m = o.machine;
  ReplyFaults& f = o.faults;
  constexpr int64_t kTimeMin = INT32_MIN;
  constexpr int64_t kTimeMax = INT32_MAX;
  return {
      {"--help", false, [&parsed](std::string_view) { return parsed.help = true; }},
      {"-h", false, [&parsed](std::string_view) { return parsed.help = true; }},
      {"--version", false, [&parsed](std::string_view) { return parsed.version = true; }},
      {"--verbose", false, [&o](std::string_view) { return o.verbose = true; }},
      {"--link", true, SetText(o.linkPath, 4096)},
      {"--silent", false, [&f](std::string_view) { return f.silent = true; }},
      {"--short", true, SetOptionalInt(f.shortLength, 0, kFrameSize - 1)},
      {"--late", false,
       [&f](std::string_view) {
         f.delayMs = kLateReplyDelayMs;
         return true;
       }},
      {"--reply-delay", true, SetInt(f.delayMs, 0, 60'000)},
      {"--garbage", true, SetInt(f.garbage, 0, 1024)},
      {"--wrong-code", true, SetOptionalInt(f.wrongCode, 0, 255)},
      {"--hangup-after", true,
       [&o](std::string_view text) {
         o.hangupAfterMs = ParseSecondsAsMs(text, 1e6);
         return o.hangupAfterMs.has_value();
       }},
      {"--name", true, SetText(m.name, MachineSetup::kNameLength)},
      {"--firmware", true, SetText(m.firmware, MachineSetup::kFirmwareLength)},
      {"--clock", true, SetInt(m.clockStart, kTimeMin, kTimeMax)},
      {"--service-date", true, SetOptionalInt(m.serviceDate, kTimeMin, kTimeMax)},
      {"--log-length", true, SetInt(m.logLength, 0, EventLog::kMaxRecords)},
      {"--log-pointer", true, SetOptionalInt(m.logPointer, 0, EventLog::kAddressLimit - 1)},
      {"--fog-status", true, SetInt(m.fogStatus, 0, 255)},
      {"--frequency-byte", true, SetInt(m.frequencyByte, 0, 255)},
      {"--mains", true, SetInt(m.mains, 0, 255)},
      {"--settings", true, SetBytes(m.settings, 6)},
      {"--calibration", true, SetBytes(m.calibration, 4)},
      {"--refuse-setting", true,
       [&m](std::string_view text) {
         const auto byte = ParseInt(text, kPayloadStart, kFrameSize - 1);
         if (byte) m.refusedBytes = static_cast<uint16_t>(m.refusedBytes | 1U << *byte);
         return byte.has_value();
       }},
      {"--ei", true, SetInt(m.ei, INT16_MIN, INT16_MAX)},
      {"--eo", true, SetInt(m.eo, INT16_MIN, INT16_MAX)},
      {"--ci", true, SetInt(m.ci, INT16_MIN, INT16_MAX)},
      {"--co", true, SetInt(m.co, INT16_MIN, INT16_MAX)},
      {"--pwm", true, SetInt(m.pwm, 0, 255)},
      {"--p-high", true, SetInt(m.pHigh, INT16_MIN, INT16_MAX)},
      {"--p-low", true, SetInt(m.pLow, INT16_MIN, INT16_MAX)},
      {"--wander", false, [&m](std::string_view) { return m.wander = true; }},
      {"--cal-seconds", true,
       [&m](std::string_view text) {
         const auto ms = ParseSecondsAsMs(text, 3600);
         if (ms) m.calibrationMs = static_cast<int>(*ms);
         return ms.has_value();
       }},
  };
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args, int64_t hostTime) {
  ParsedOptions parsed;
  parsed.options.machine.clockStart = hostTime;
  const std::vector<Option> table = OptionTable(parsed);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string_view> inlineValue;
    if (const std::size_t eq = arg.find('=');
        arg.starts_with("--") && eq != std::string_view::npos) {
      inlineValue = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    const Option* option = nullptr;
    for (const Option& candidate : table)
      if (candidate.name == arg) option = &candidate;
    if (option == nullptr) {
      parsed.error =
          (arg.starts_with("-") ? "unknown option " : "unexpected argument ") + std::string(arg);
      return parsed;
    }
    std::string_view value;
    if (option->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parsed.error = std::string(arg) + " needs a value";
        return parsed;
      }
    } else if (inlineValue) {
      parsed.error = std::string(arg) + " takes no value";
      return parsed;
    }
    if (!option->apply(value)) {
      parsed.error = "bad value for " + std::string(arg) + ": \"" + std::string(value) + "\"";
      return parsed;
    }
  }
  return parsed;
}

std::string UsageText() {
  return R"(Usage: brumo-sim [OPTION]...
Plays one Brumo fog machine on a pseudo-terminal. Prints the terminal's device path on
the first line of standard output, then answers the panel's 12-byte requests until
SIGINT or SIGTERM.

  --link PATH           also make PATH a symbolic link to the device (removed on exit)
  --verbose             log requests and replies on standard error
  -h, --help            show this text
  --version             show the version

Faults:
  --silent              never answer
  --short N             answer with only the first N (0..11) bytes
  --late                answer after the panel's read tick (400 ms)
  --reply-delay MS      answer after MS milliseconds (default 70)
  --garbage N           add N garbage bytes after each reply
  --wrong-code C        put code C (0..255) in byte 2 of each reply
  --hangup-after S      close the pseudo-terminal after S seconds, then exit

Machine state (numbers are decimal, or hexadecimal with 0x):
  --name TEXT           machine name, up to 16 characters (default "Brumo Sim Unit 1")
  --firmware TEXT       firmware revision, up to 8 characters (default "2v15")
  --clock EPOCH         machine clock at start, seconds since 1970 (default: now);
                        it runs on in real time
  --service-date EPOCH  last service (default: 200 days before the clock)
  --log-length N        event records in the log (default 150)
  --log-pointer P       log pointer (default: just past the newest record, 6 * N)
  --fog-status B        fog status bits (default 0x43)
  --frequency-byte B    output frequency byte, 208 = 70 Hz (default 208)
  --mains B             mains value (default 230)
  --settings B3,..,B11  settings block, bytes 3 to 8 and up to 11, the rest 0
                        (default 21,20,3,2,0x84,0x63)
  --calibration C,S,N,X[,B7,..,B11]
                        Cal Value, S_Ht, T_Min, T_Max and up to five further
                        bytes, the rest 0 (default 12,4,20,45)
  --refuse-setting BYTE keep the old value of byte BYTE (3..11) when request 4 or 8
                        writes it, as a machine that did not take a setting; may
                        be given more than once
  --ei/--eo/--ci/--co Q temperatures in quarter degrees (default -21,-8,142,115)
  --pwm B               compressor PWM, 255 = 100 % (default 128)
  --p-high RAW          high pressure raw value, 82 = 0 PSI (default 344 = 200 PSI)
  --p-low RAW           low pressure raw value, 82 = 0 PSI (default 213 = 30 PSI)
  --wander              let the temperatures, PWM and pressures swing slowly around
                        their values, each over a few minutes, as a running machine's do
  --cal-seconds S       how long a reference calibration runs (default 5)

Setting the clock (request 16) and the service date (request 14) also writes an event
record, so the log pointer moves on.
)";
}

}  // namespace sim
