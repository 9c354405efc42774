// A service visit's records: the link's health in words, the samples of the poll
// passes, and the bundle's six files.

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/event_log_file.h"
#include "panel/service_texts.h"
#include "panel/settings_file_commands.h"
#include "panel/settings_report.h"
#include "panel/telemetry_csv.h"
#include "resources/control_ids.h"
#include "support/fake_machine.h"
#include "support/panel_fixture.h"

namespace {

// A health of `complete` replies and `failed` misses, after `sent` requests.
LinkHealth HealthOf(int complete, int failed, int64_t lastReplyMs) {
  LinkHealth health;
  for (int i = 0; i < complete + failed; ++i) health.RequestSent();
  for (int i = 0; i < failed; ++i) health.ReplyIncomplete(i % 2 == 0 ? 0 : 5);
  for (int i = 0; i < complete; ++i) health.ReplyComplete(lastReplyMs);
  return health;
}

TEST(HealthSummary, SaysTheShareOfRequestsWithAnOutcomeTheLastReplyAndTheClock) {
  LinkHealth health = HealthOf(1203, 7, 1'000'000);
  health.ClockMeasured(12);
  health.RequestSent();  // awaited: in neither count
  EXPECT_EQ(HealthSummary("/dev/ttyUSB0", health, 1'000'200),
            "/dev/ttyUSB0 · replies: 100.0 % of last 50, 1,203 of 1,210 since Connect · last "
            "reply 0.2 s ago · clock +12 s");
  EXPECT_EQ(HealthSummary("/dev/ttyUSB0", LinkHealth(), 0), "/dev/ttyUSB0 · replies: none yet");
  EXPECT_EQ(HealthSummary("/dev/\x1b]0;\x07", LinkHealth(), 0),
            "/dev/\\x1b]0;\\x07 · replies: none yet");
  EXPECT_EQ(HealthFields(health, 1'000'200),
            "sent=1211 complete=1203 short=3 missing=4 lost=0 dropped=0 unhandled=0 "
            "acknowledged=0 recent=100.0% last-reply-ms=200 clock-offset=+12");
}

TEST(LinkStateWords, SayWhyTheLinkIsNotLive) {
  LinkHealth silent = HealthOf(5, 0, 1'000'000);
  for (int i = 0; i < 3; ++i) silent.ReplyIncomplete(0);
  LinkHealth lost = HealthOf(5, 0, 1'000'000);
  lost.PortLost(1'000'500);
  LinkHealth closed = HealthOf(5, 0, 1'000'000);
  closed.Closed();
  const struct {
    LinkState state;
    const LinkHealth& health;
    const char* words;
  } cases[] = {
      {{true, false, "/dev/ttyUSB0"}, HealthOf(5, 2, 1'000'000), ""},
      {{true, false, "/dev/ttyUSB0"}, silent, "No reply for 12 s"},
      {{false, true, "/dev/ttyUSB0"}, lost, "Connecting"},
      {{false, false, "/dev/ttyUSB0"}, lost, "Port lost 12 s ago: /dev/ttyUSB0"},
      {{false, false, "/dev/ttyUSB0"}, closed, "Closed"},
      {{false, false, ""}, LinkHealth(), "Not connected"},
  };
  for (const auto& c : cases) EXPECT_EQ(LinkStateWords(c.state, c.health, 1'012'900), c.words);
}

TEST(LinkHealth, RecentShareIsOfTheLast50AndThreeMissesInARowAreStale) {
  LinkHealth health = HealthOf(60, 0, 0);
  for (int i = 0; i < 10; ++i) health.ReplyIncomplete(0);
  health.ReplyDropped();  // the operator closed the port: not the line's fault
  EXPECT_DOUBLE_EQ(*health.recentShare(), 40.0 / 50.0);
  EXPECT_FALSE(health.Live(true));
  health.ReplyComplete(1);
  EXPECT_TRUE(health.Live(true));
  EXPECT_FALSE(health.Live(false));
  health.ReplyIncomplete(0);
  health.ReplyIncomplete(3);
  EXPECT_TRUE(health.Live(true));
  health.PortLost(2);
  EXPECT_FALSE(health.Live(true));
  health.Restart();
  EXPECT_EQ(health.counters().sent, 0);
  EXPECT_FALSE(health.recentShare().has_value());
  EXPECT_TRUE(health.Live(true));
  // The totals run from the start, so the lost port stays on record.
  EXPECT_EQ(health.totals().lost, 1);
  EXPECT_EQ(health.totals().dropped, 1);
  EXPECT_EQ(health.totals().sent, 60);
}

class ServiceTest : public ::testing::Test, protected PanelFixture {
 protected:
  void SetUp() override {
    // A name and firmware that would forge a line and drive a terminal, a device too.
    sim::MachineSetup machine;
    machine.name = "X\r\nProgram: fake";
    machine.firmware = "2v15\x1b[2J";
    host.profileStore.values["Ports/COM1"] = "/dev/serial/by-id/\xff";
    ConnectToMachine(machine);
    LinkTicks(3 * 14);  // three poll passes
  }
};

TEST_F(ServiceTest, EachPollPassThatBroughtTheReadingsGivesOneSample) {
  const TelemetryRing& samples = dlg.telemetry().samples();
  ASSERT_EQ(samples.size(), 2u);  // the third pass ends at the next refill
  const TelemetrySample& newest = samples.newest();
  EXPECT_EQ(newest.pcTimeMs, host.now * 1000);
  EXPECT_EQ(newest.machineClock, 1'700'000'000);
  EXPECT_EQ(newest.ei, -21);
  EXPECT_EQ(newest.pwm, 128);
  EXPECT_EQ(newest.pHigh, 344);
  EXPECT_EQ(newest.fogStatus, 0x43);
  EXPECT_EQ(newest.mains, 230);
  EXPECT_EQ(newest.outputHz, 70);

  port.responder = nullptr;  // a silent pass gives none
  LinkTicks(2 * 14);
  EXPECT_EQ(samples.size(), 3u);
}

// Get All, a machine that stops answering, a pulled adapter (kept through a Connect that
// cannot open it yet) and a Close each begin a span on the PC's clock; a pass ends one.
TEST_F(ServiceTest, NotesWhyThePollPassesStopAndWhenTheyComeAgain) {
  const struct {
    std::function<void()> action;
    int ticks;
    std::optional<Interruption> expected;
  } steps[] = {
      {[this] { dlg.commands().OnGetAllClicked(); }, 1, Interruption::kGetAll},
      {[] {}, 2 * 148 + 1, std::nullopt},
      {[this] { port.responder = nullptr; }, 14, Interruption::kNoReplies},
      {[this] { port.purgeTxSucceeds = false; }, 4, Interruption::kPortLost},
      {[this] { port.openSucceeds = false, Connect(); }, 1, Interruption::kPortLost},
      {[this] { port.openSucceeds = port.purgeTxSucceeds = true, ConnectTicks(1); }, 1,
       std::nullopt},
      {[this] { port.responder = MachineResponder(); }, 40, std::nullopt},
      {[this] { dlg.connection().OnConnectClicked(); }, 1, Interruption::kClosed},
  };
  const PollInterruptions& noted = dlg.telemetry().interruptions();
  for (const auto& step : steps) {
    ++host.now;
    step.action();
    LinkTicks(step.ticks);
    EXPECT_EQ(noted.current(), step.expected) << host.now;
  }
  ASSERT_EQ(noted.size(), 4u);
  const int64_t firstMs = (host.now - 7) * 1000;
  EXPECT_EQ(std::pair(noted.at(0).fromMs, noted.at(0).toMs), std::pair(firstMs, firstMs + 1000));
  EXPECT_EQ(std::pair(noted.at(2).fromMs, noted.at(2).toMs),
            std::pair(firstMs + 3000, firstMs + 5000));
}

struct ArchiveClose {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};

// The entries of an archive, by name and content, in order.
std::vector<std::pair<std::string, std::string>> Unzipped(const std::string& bytes) {
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, nullptr);
  std::unique_ptr<zip_t, ArchiveClose> archive(
      zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, nullptr));
  std::vector<std::pair<std::string, std::string>> entries;
  if (!archive) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat);
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
    zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    entries.emplace_back(stat.name, content);
  }
  return entries;
}

TEST_F(ServiceTest, BundleHoldsTheSixFilesOfTheVisit) {
  std::string error;
  const auto entries = Unzipped(dlg.service().BundleArchive(&error));
  ASSERT_EQ(error, "");
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[5],
            std::pair(std::string("settings.brumo"), *MachineSettingsFile(state(), host.now)));
  EXPECT_NE(entries[5].second.find("\r\nMachine name = X\\x0d\\x0aProgram: fake\r\n"),
            std::string::npos);
  EXPECT_EQ(entries[0], std::pair(std::string("settings.txt"), SettingsReport(state())));
  EXPECT_EQ(entries[1].first, "event-log.txt");
  EXPECT_EQ(entries[1].second, EventLogFileContent(dlg.controls().Find(ids::kEventList)->lines));
  EXPECT_EQ(entries[2],
            std::pair(std::string("telemetry.csv"), TelemetryCsv(dlg.telemetry().samples())));
  // The connect set, five log records and three passes of six requests.
  EXPECT_EQ(entries[3],
            std::pair(std::string("link-health.txt"),
                      std::string("Requests sent: 41\r\n"
                                  "Complete replies: 41\r\n"
                                  "Short replies: 0\r\n"
                                  "Replies that never came: 0\r\n"
                                  "Ports lost: 0\r\n"
                                  "Replies not read after a Close: 0\r\n"
                                  "Reply codes without a decoder: 0\r\n"
                                  "Acknowledgements: 0\r\n"
                                  "Complete replies of the last 50 requests: 100.0 %\r\n"
                                  "Last complete reply: 0.0 s ago\r\n"
                                  "Machine clock against this PC: +0 s\r\n"
                                  "\r\n"
                                  "Since the panel started\r\n"
                                  "Requests sent: 41\r\n"
                                  "Complete replies: 41\r\n"
                                  "Short replies: 0\r\n"
                                  "Replies that never came: 0\r\n"
                                  "Ports lost: 0\r\n"
                                  "Replies not read after a Close: 0\r\n"
                                  "Reply codes without a decoder: 0\r\n"
                                  "Acknowledgements: 0\r\n")));
  EXPECT_EQ(
      entries[4],
      std::pair(std::string("identity.txt"),
                std::string("Machine name: X\\x0d\\x0aProgram: fake\r\n"
                            "Firmware revision: 2v15\\x1b[2J\r\n"
                            "Machine clock: 2023-11-14 22:13:20 +0000 (+0 s against this PC)\r\n"
                            "Next service due: 2024-04-26 22:13:20 +0000\r\n"
                            "Port: 1 (/dev/serial/by-id/\\xff)\r\n"
                            "Saved: 2023-11-14 22:13:20 +0000\r\n"
                            "Program: kelo-configuration " KELO_VERSION "\r\n")));
}

// Nothing before the first reply, and nothing after a Connect to a machine gone silent.
TEST_F(ServiceTest, IdentityClaimsOnlyWhatArrivedSinceConnect) {
  const std::string notRead =
      "Machine name: not read\r\nFirmware revision: not read\r\nMachine clock: not read\r\n"
      "Next service due: not read\r\nPort: 1 (/dev/ttyUSB0)\r\n"
      "Saved: 2023-11-14 22:13:20 +0000\r\nProgram: kelo-configuration " KELO_VERSION "\r\n";
  PanelFixture fresh;
  EXPECT_EQ(Unzipped(fresh.dlg.service().BundleArchive(nullptr)).at(4).second, notRead);
  host.profileStore.values.erase("Ports/COM1");
  dlg.connection().OnConnectClicked();  // Close, confirmed
  port.responder = nullptr;
  Connect();
  Settle();
  EXPECT_EQ(Unzipped(dlg.service().BundleArchive(nullptr)).at(4).second, notRead);
}

TEST_F(ServiceTest, RecordingWhoseFileWentStopsAndSaysSoOnceTheTickIsDone) {
  const std::string path = ::testing::TempDir() + "kelo-service-recording.csv";
  dlg.service().StartRecording(path);
  std::filesystem::remove(path);
  for (int tick = 0; tick < 16 && host.later.empty(); ++tick) dlg.OnTimer(kLinkTimerId);
  EXPECT_EQ(host.messages.size(), 0u);
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{17, 27, 25, 1, 15, 1}));
  EXPECT_FALSE(dlg.telemetry().recording());
  host.RunEventLoop();
  EXPECT_EQ(host.MessageTexts(),
            std::vector<std::string>{"Recording stopped. The file could not "
                                     "be written:\n" +
                                     path + "\nIt was removed while recording"});
}

}  // namespace
