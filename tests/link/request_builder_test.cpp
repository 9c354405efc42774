#include <gtest/gtest.h>

#include <array>
#include <set>

#include "link/command_codes.h"
#include "support/panel_fixture.h"

namespace {

using Frame = std::array<int32_t, kFrameSize>;

class RequestFramesTest : public PanelFixture {
 protected:
  // Builds a request the way the link does: code into slot 2, then BuildRequest.
  Frame Build(int32_t code, int32_t firstByte = 0) {
    dlg.requestFrame[2] = code;
    dlg.BuildRequest(code, firstByte);
    return dlg.requestFrame;
  }
};

// Payload slots each code writes; every other payload slot keeps its old value.
std::set<int> PayloadSlots(int code) {
  switch (code) {
    case 4:
    case 8:
      return {3, 4, 5, 6, 7, 8, 9, 10, 11};
    case 5:
    case 21:
    case 23:
      return {3, 4};
    case 10:
    case 12:
      return {3, 4, 5, 6, 7, 8, 9, 10};
    case 14:
    case 16:
    case 24:
      return {3, 4, 5, 6};
    default:
      return {};
  }
}

bool TakesFirstByte(int code) {
  return std::set<int>{1, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 21}.contains(code);
}

TEST_F(RequestFramesTest, EveryCodeWritesOnlyItsOwnSlots) {
  for (int code = -3; code <= 300; ++code) {
    SCOPED_TRACE(code);
    Frame stale;
    for (int i = 0; i < kFrameSize; ++i) stale[static_cast<std::size_t>(i)] = 1000 + i;
    dlg.requestFrame = stale;
    const Frame built = Build(code, 77);
    EXPECT_EQ(built[0], TakesFirstByte(code) ? 77 : 0);
    EXPECT_EQ(built[1], 0);
    EXPECT_EQ(built[2], code);
    const std::set<int> written = PayloadSlots(code);
    for (int slot = 3; slot < kFrameSize; ++slot) {
      if (!written.contains(slot)) {
        EXPECT_EQ(built[static_cast<std::size_t>(slot)], 1000 + slot) << slot;
      }
    }
  }
}

// Frames 4 and 8 carry the blocks the panel composes for Write (tested with their rule);
// the builder copies them whole, machine bytes 9 to 11 included.
TEST_F(RequestFramesTest, WriteBlocksGoIntoBytes3To11) {
  dlg.replyFrame = {0, 0, 3, 21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF};
  dlg.DispatchReply();
  dlg.replyFrame = {0, 0, 7, 12, 4, 20, 45, 1, 2, 3, 4, 5};
  dlg.DispatchReply();
  dlg.calValue = 250;
  dlg.sHt = 9;
  dlg.controls().SetText(ids::kCalValueEdit, "12");  // edits are not read
  dlg.requestFrame.fill(0x55);
  EXPECT_EQ(Build(cmd::kWriteCalibration), (Frame{0, 0, 8, 250, 9, 20, 45, 1, 2, 3, 4, 5}));
  dlg.controls().SetSelection(ids::kEvapFanCombo, 8);  // the operator's choice
  EXPECT_EQ(Build(cmd::kWriteSettings),
            (Frame{0, 0, 4, 21, 70, 0xA8, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
}

struct NameCase {
  const char* name;
  const char* firstHalf;
  const char* secondHalf;
};

TEST_F(RequestFramesTest, NameHalvesAreSpaceFilledAndByte11Untouched) {
  const NameCase cases[] = {
      {"AB", "AB      ", "        "},        {"ABCDEFGH", "ABCDEFGH", "        "},
      {"ABCDEFGHI", "ABCDEFGH", "I       "}, {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGH", "IJKLMNOP"},
      {"", "        ", "        "},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    dlg.controls().SetText(ids::kNameEdit, c.name);
    for (auto [code, expected] : {std::pair{cmd::kWriteNameFirstHalf, c.firstHalf},
                                  std::pair{cmd::kWriteNameSecondHalf, c.secondHalf}}) {
      dlg.requestFrame[11] = 0x99;
      const Frame f = Build(code);
      std::string half;
      for (int i = 3; i <= 10; ++i) half += static_cast<char>(f[static_cast<std::size_t>(i)]);
      EXPECT_EQ(half, expected);
      EXPECT_EQ(f[11], 0x99);
      EXPECT_EQ(dlg.machineName, c.name);
    }
  }
}

TEST_F(RequestFramesTest, TimeAndPointersAreLittleEndian) {
  host.now = 1'700'000'000;
  Frame f = Build(cmd::kSetClock);
  EXPECT_EQ((std::array{f[3], f[4], f[5], f[6]}), (std::array{0x00, 0xF1, 0x53, 0x65}));
  host.now = 0x1'2345'6789;  // only the low 32 bits are sent
  f = Build(cmd::kSetServiceDate);
  EXPECT_EQ((std::array{f[3], f[4], f[5], f[6]}), (std::array{0x89, 0x67, 0x45, 0x23}));

  dlg.logPointer = 564;
  f = Build(cmd::kReadLogRecord);
  EXPECT_EQ((std::array{f[3], f[4]}), (std::array{0x34, 0x02}));
  dlg.readPointer = 0x12345;  // bits above 15 are not sent
  f = Build(cmd::kReadLogRecordAt);
  EXPECT_EQ((std::array{f[3], f[4]}), (std::array{0x45, 0x23}));
}

TEST_F(RequestFramesTest, StatusRequestAfterReferenceCalibrationCarriesStaleMarkers) {
  dlg.requestFrame.fill(0);
  const Frame ref = Build(cmd::kReferenceCalibration);
  EXPECT_EQ((std::array{ref[3], ref[4], ref[5], ref[6]}), (std::array{0xAA, 0xAB, 0xAC, 0xAD}));
  const Frame status = Build(cmd::kReadStatus);
  const Frame again = Build(cmd::kReadStatus);
  EXPECT_EQ(status, (Frame{0, 0, 1, 0xAA, 0xAB, 0xAC, 0xAD, 0, 0, 0, 0, 0}));
  EXPECT_EQ(again, status);
  const Frame progress = Build(cmd::kReadCalProgress);
  EXPECT_EQ(progress, (Frame{0, 0, 23, 0xAA, 0xAA, 0xAC, 0xAD, 0, 0, 0, 0, 0}));
}

TEST_F(RequestFramesTest, OnlyTheLowByteOfEachSlotGoesOnTheWire) {
  OpenPort();
  dlg.requestFrame = {0, 0, 0, -1, 256, 0x1FF, -256, 0x7FFFFFFF, 0, 0, 0, 0};
  dlg.msgStack.Push(cmd::kReadStatus);
  LinkTicks(1);
  EXPECT_EQ(port.written,
            (std::vector<uint8_t>{0, 0, 1, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0, 0, 0, 0}));
}

}  // namespace
