#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "reply_frames.h"
#include "support/panel_fixture.h"

namespace {

using Bytes8 = std::array<int, 8>;

Frame Half(int code, const Bytes8& b) {
  return ReplyFrame(code, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], 0x55});
}

Bytes8 Chars(const char (&text)[9]) {
  Bytes8 bytes{};
  for (std::size_t i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(text[i]);
  return bytes;
}

struct NameCase {
  const char* what;
  Bytes8 first;
  Bytes8 second;
  std::string expected;
};

class NameReplies : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameReplies, SecondHalfSetsNameFromBothHalves) {
  const NameCase& c = GetParam();
  DecodeTarget t;
  const std::string nameEdit = t.panel.controls.GetText(ids::kNameEdit);
  t.Deliver(Half(9, c.first));
  EXPECT_EQ(t.panel.machine.machineName, "Insert Name Here") << "the first half shows nothing";
  EXPECT_EQ(t.panel.controls.GetText(ids::kNameEdit), nameEdit);
  t.Deliver(Half(11, c.second));
  EXPECT_EQ(t.panel.machine.machineName, c.expected);
  EXPECT_EQ(t.panel.controls.GetText(ids::kNameEdit), c.expected);
  EXPECT_EQ(t.panel.machine.nameBuffer[16], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, NameReplies,
    ::testing::Values(
        NameCase{"trailing spaces kept", Chars("BRUMO-12"), Chars("AB      "), "BRUMO-12AB      "},
        NameCase{"second half cut at once", Chars("BRUMO-12"), Bytes8{0, 'X', 'Y'}, "BRUMO-12"},
        NameCase{"empty", Bytes8{0, 'A', 'B'}, Chars("CDEFGHIJ"), ""},
        NameCase{"zero inside", Chars("AB\0DEFGH"), Chars("IJKLMNOP"), "AB"},
        NameCase{"no terminator", Chars("12345678"), Chars("9abcdefg"), "123456789abcdefg"},
        NameCase{
            "control characters and high bytes kept raw",
            Bytes8{'\n', '\t', 0x7F, 0x80, 0xC3, 0xA9, 0xFF, 0x01},
            Bytes8{0xE9, 'x', 0, 0, 0, 0, 0, 0},
            std::string("\n\t\x7F\x80\xC3\xA9\xFF\x01\xE9x"),
        }),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(NameReplies, SecondHalfAloneUsesZeroFilledFirstHalf) {
  DecodeTarget t;
  t.Deliver(Half(11, Chars("ABCDEFGH")));
  EXPECT_EQ(t.panel.machine.machineName, "");
  EXPECT_EQ(t.panel.controls.GetText(ids::kNameEdit), "");
}

struct RevisionCase {
  Bytes8 bytes;
  std::string expected;
};

class FirmwareReply : public ::testing::TestWithParam<RevisionCase> {};

TEST_P(FirmwareReply, TakesEightCharactersUpToTheFirstZero) {
  DecodeTarget t;
  const Bytes8& b = GetParam().bytes;
  t.Deliver(ReplyFrame(19, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], 'Z'}));
  EXPECT_EQ(t.panel.machine.firmwareRevision, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, FirmwareReply,
    ::testing::Values(RevisionCase{Bytes8{'1', 'v', '0', '7'}, "1v07"},
                      RevisionCase{Chars("12345678"), "12345678"}, RevisionCase{Bytes8{}, ""},
                      RevisionCase{Bytes8{0xFF, 0x80, 0x0D, 0x0A, 'a'}, "\xFF\x80\r\na"}));

class FirmwareOnTheLine : public ::testing::Test, protected PanelFixture {};

TEST_F(FirmwareOnTheLine, ShowsInStatusLineFromTheNextReplyOn) {
  sim::MachineSetup setup;
  setup.firmware = "2v13";
  port.responder = MachineResponder(setup);
  Connect();
  // The connect set sends 1, 1, 1, 1, 13, 3, 9, 11, 7, then 19 on tick 19, whose reply
  // is read on tick 21 as request 17 goes out.
  LinkTicks(21);
  EXPECT_EQ(state().machine.firmwareRevision, "2v13");
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Link is live  (Firmware Rev = 1vXX)");
  LinkTicks(2);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Link is live  (Firmware Rev = 2v13)");
}

struct TimeCase {
  std::array<int, 4> bytes;
  int64_t expectedTime;
  const char* expectedDueLine;
};

class ServiceDateReply : public ::testing::TestWithParam<TimeCase> {};

TEST_P(ServiceDateReply, WidensWithSignAndShowsDateOf364DaysLater) {
  const TimeCase& c = GetParam();
  DecodeTarget t;
  t.Deliver(ReplyFrame(13, {c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]}));
  EXPECT_EQ(t.panel.machine.serviceBaseDate, c.expectedTime);
  EXPECT_EQ(t.panel.controls.GetText(ids::kServiceDueLine), c.expectedDueLine);
}

INSTANTIATE_TEST_SUITE_P(
    Times, ServiceDateReply,
    ::testing::Values(TimeCase{{0x00, 0xF1, 0x53, 0x65}, 1'700'000'000, "Next due 11/12/24"},
                      TimeCase{{0xFF, 0xFF, 0xFF, 0xFF}, -1, "Next due 12/30/70"},
                      TimeCase{{0, 0, 0, 0}, 0, "Next due 12/31/70"},
                      TimeCase{{0xFF, 0xFF, 0xFF, 0x7F}, INT32_MAX, "Next due 01/18/39"},
                      TimeCase{{0, 0, 0, 0x80}, INT32_MIN, "Next due "},
                      // The last second whose date is still before 1970.
                      TimeCase{{0xFF, 0x1D, 0x20, 0xFE}, -31'449'601, "Next due "},
                      TimeCase{{0x00, 0x1E, 0x20, 0xFE}, -31'449'600, "Next due 01/01/70"}));

TEST(ClockReply, StoresTimeWidenedWithSignAndShowsNothing) {
  struct Row {
    std::array<int, 4> bytes;
    int64_t expected;
  };
  for (const Row& row :
       {Row{{0x00, 0xF1, 0x53, 0x65}, 1'700'000'000}, Row{{0xFF, 0xFF, 0xFF, 0xFF}, -1},
        Row{{0, 0, 0, 0x80}, INT32_MIN}, Row{{0xFF, 0xFF, 0xFF, 0x7F}, INT32_MAX}}) {
    DecodeTarget t;
    const std::string clockLine = t.panel.controls.GetText(ids::kClockLine);
    t.Deliver(ReplyFrame(15, {row.bytes[0], row.bytes[1], row.bytes[2], row.bytes[3]}));
    EXPECT_EQ(t.panel.machine.deviceClock, row.expected);
    EXPECT_EQ(t.panel.controls.GetText(ids::kClockLine), clockLine);
  }
}

}  // namespace
