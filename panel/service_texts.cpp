#include "panel/service_texts.h"

#include <cstdio>
#include <ctime>
#include <string_view>

#include "panel/escaped_text.h"
#include "panel/saved_file.h"
#include "state/machine_readings.h"

namespace {

// The service interval restarts at the base date and runs 364 days.
constexpr int64_t kServiceIntervalSeconds = int64_t{364} * 24 * 60 * 60;

// 1210 as "1,210".
std::string Grouped(int64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const std::size_t left = digits.size() - i;
    if (i > 0 && digits[i - 1] != '-' && left % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Signed(int64_t value) {
  return (value >= 0 ? "+" : "") + std::to_string(value);
}

std::string Seconds(int64_t ms) {
  return ms < 100'000 ? Fixed(static_cast<double>(ms) / 1000.0, 1) : std::to_string(ms / 1000);
}

// A time as ISO 8601 in this PC's local time, "2026-12-07 12:10:47 +0100"; "unknown" for
// one the C library cannot convert.
std::string LocalTime(int64_t seconds) {
  if (seconds < 0) return "unknown";
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return "unknown";
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
  return length == 0 ? "unknown" : std::string(text, length);
}

// A fact of the machine, or "not read" when it has not arrived since the last Connect.
std::string Claimed(bool read, const std::string& fact) {
  return read ? fact : "not read";
}

void Line(std::string& report, std::string_view name, const std::string& value) {
  report += std::string(name) + ": " + value;
  report += kFileLineEnd;
}

// The counters, one per line.
void CounterLines(std::string& report, const LinkHealth::Counters& c) {
  Line(report, "Requests sent", std::to_string(c.sent));
  Line(report, "Complete replies", std::to_string(c.complete));
  Line(report, "Short replies", std::to_string(c.shortReplies));
  Line(report, "Replies that never came", std::to_string(c.missing));
  Line(report, "Ports lost", std::to_string(c.lost));
  Line(report, "Replies not read after a Close", std::to_string(c.dropped));
  Line(report, "Reply codes without a decoder", std::to_string(c.unhandled));
  Line(report, "Acknowledgements", std::to_string(c.acknowledged));
}

}  // namespace

std::string HealthSummary(const std::string& device, const LinkHealth& health, int64_t nowMs) {
  const LinkHealth::Counters& c = health.counters();
  std::string summary = device.empty() ? "no device" : EscapedText(device);
  if (const auto share = health.recentShare()) {
    summary += " · replies: " + Fixed(*share * 100.0, 1) + " % of last " +
               std::to_string(health.recentCount()) + ", " + Grouped(c.complete) + " of " +
               Grouped(health.answerable()) + " since Connect";
  } else {
    summary += " · replies: none yet";
  }
  if (const auto since = health.msSinceLastReply(nowMs)) {
    summary += " · last reply " + Seconds(*since) + " s ago";
  }
  if (const auto offset = health.clockOffset()) summary += " · clock " + Signed(*offset) + " s";
  return summary;
}

std::string LinkStateWords(const LinkState& state, const LinkHealth& health, int64_t nowMs) {
  if (state.open) {
    if (health.Live(true)) return "";
    const auto without = health.msWithoutReply(nowMs);
    return "No reply for " + std::to_string(without.value_or(0) / 1000) + " s";
  }
  if (state.connecting) return "Connecting";
  switch (health.end()) {
    case LinkHealth::End::kLost:
      return "Port lost " + std::to_string(health.msSinceLost(nowMs).value_or(0) / 1000) +
             " s ago: " + EscapedText(state.device);
    case LinkHealth::End::kClosed:
      return "Closed";
    case LinkHealth::End::kNone:
      break;
  }
  return "Not connected";
}

std::string HealthFields(const LinkHealth& health, int64_t nowMs) {
  const LinkHealth::Counters& c = health.counters();
  const auto recent = health.recentShare();
  const auto since = health.msSinceLastReply(nowMs);
  const auto offset = health.clockOffset();
  return "sent=" + std::to_string(c.sent) + " complete=" + std::to_string(c.complete) +
         " short=" + std::to_string(c.shortReplies) + " missing=" + std::to_string(c.missing) +
         " lost=" + std::to_string(c.lost) + " dropped=" + std::to_string(c.dropped) +
         " unhandled=" + std::to_string(c.unhandled) +
         " acknowledged=" + std::to_string(c.acknowledged) +
         " recent=" + (recent ? Fixed(*recent * 100.0, 1) + "%" : "-") +
         " last-reply-ms=" + (since ? std::to_string(*since) : "-") +
         " clock-offset=" + (offset ? Signed(*offset) : "-");
}

std::string HealthReport(const LinkHealth& health, int64_t nowMs) {
  const auto recent = health.recentShare();
  const auto since = health.msSinceLastReply(nowMs);
  const auto offset = health.clockOffset();
  std::string report;
  CounterLines(report, health.counters());
  Line(report, "Complete replies of the last 50 requests",
       recent ? Fixed(*recent * 100.0, 1) + " %" : "none yet");
  Line(report, "Last complete reply", since ? Seconds(*since) + " s ago" : "none yet");
  Line(report, "Machine clock against this PC", offset ? Signed(*offset) + " s" : "not read");
  // A port lost and connected again is still on record here.
  report += kFileLineEnd;
  report += "Since the panel started";
  report += kFileLineEnd;
  CounterLines(report, health.totals());
  return report;
}

std::string IdentityReport(const Identity& identity) {
  const MachineReadings& machine = identity.machine;
  const ReadSinceConnect& read = machine.readSinceConnect;
  const auto offset = identity.health.clockOffset();
  std::string report;
  Line(report, "Machine name", Claimed(read.machineName, EscapedText(machine.machineName)));
  Line(report, "Firmware revision",
       Claimed(read.firmwareRevision, EscapedText(machine.firmwareRevision)));
  Line(report, "Machine clock",
       Claimed(read.deviceClock,
               LocalTime(machine.deviceClock) +
                   (offset ? " (" + Signed(*offset) + " s against this PC)" : "")));
  Line(report, "Next service due",
       Claimed(read.serviceBaseDate, LocalTime(machine.serviceBaseDate + kServiceIntervalSeconds)));
  Line(report, "Port",
       std::to_string(identity.portNumber) + " (" + EscapedText(identity.device) + ")");
  Line(report, "Saved", LocalTime(identity.now));
  Line(report, "Program", std::string("kelo-configuration ") + KELO_VERSION);
  return report;
}
