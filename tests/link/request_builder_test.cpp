#include "link/request_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "link/command_codes.h"
#include "support/fake_link.h"

namespace {

class RequestBuilderTest : public ::testing::Test {
 protected:
  Frame Build(int32_t code) { return builder.Build(code, source); }

  FakeRequestSource source;
  RequestBuilder builder;
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

TEST_F(RequestBuilderTest, EveryCodeWritesOnlyItsOwnSlots) {
  source.settings = {0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59};
  for (int code = -3; code <= 300; ++code) {
    SCOPED_TRACE(code);
    Build(cmd::kWriteSettings);  // marks every payload slot
    const Frame built = Build(code);
    EXPECT_EQ(built[0], 0);
    EXPECT_EQ(built[1], 0);
    EXPECT_EQ(built[2], code);
    const std::set<int> written = PayloadSlots(code);
    for (int slot = 3; slot < kFrameSize; ++slot) {
      if (!written.contains(slot)) {
        EXPECT_EQ(built[static_cast<std::size_t>(slot)], 0x4E + slot);
      }
    }
  }
}

TEST_F(RequestBuilderTest, WriteBlocksAreAskedForAndCopiedWhole) {
  source.settings = {21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF};
  source.calibration = {12, 4, 20, 45, 1, 2, 3, 4, 5};
  EXPECT_EQ(Build(cmd::kWriteSettings),
            (Frame{0, 0, 4, 21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
  EXPECT_EQ(Build(cmd::kWriteCalibration), (Frame{0, 0, 8, 12, 4, 20, 45, 1, 2, 3, 4, 5}));
  EXPECT_EQ(source.asked, (std::vector<std::string>{"settings", "calibration"}));
}

struct NameCase {
  const char* name;
  const char* firstHalf;
  const char* secondHalf;
};

TEST_F(RequestBuilderTest, NameHalvesAreSpaceFilledAndByte11Untouched) {
  const NameCase cases[] = {
      {"AB", "AB      ", "        "},        {"ABCDEFGH", "ABCDEFGH", "        "},
      {"ABCDEFGHI", "ABCDEFGH", "I       "}, {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGH", "IJKLMNOP"},
      {"", "        ", "        "},
  };
  source.settings.back() = 0x99;
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    source.name = c.name;
    for (auto [code, expected] : {std::pair{cmd::kWriteNameFirstHalf, c.firstHalf},
                                  std::pair{cmd::kWriteNameSecondHalf, c.secondHalf}}) {
      Build(cmd::kWriteSettings);  // byte 11 = 0x99
      const Frame f = Build(code);
      std::string half;
      for (int i = 3; i <= 10; ++i) half += static_cast<char>(f[static_cast<std::size_t>(i)]);
      EXPECT_EQ(half, expected);
      EXPECT_EQ(f[11], 0x99);
    }
  }
}

TEST_F(RequestBuilderTest, TimeAndPointersAreLittleEndian) {
  source.now = 1'700'000'000;
  Frame f = Build(cmd::kSetClock);
  EXPECT_EQ((std::array{f[3], f[4], f[5], f[6]}), (std::array{0x00, 0xF1, 0x53, 0x65}));
  source.now = 0x1'2345'6789;  // only the low 32 bits are sent
  f = Build(cmd::kSetServiceDate);
  EXPECT_EQ((std::array{f[3], f[4], f[5], f[6]}), (std::array{0x89, 0x67, 0x45, 0x23}));

  source.logPointer = 564;
  f = Build(cmd::kReadLogRecord);
  EXPECT_EQ((std::array{f[3], f[4]}), (std::array{0x34, 0x02}));
  source.readPointer = 0x12345;  // bits above 15 are not sent
  f = Build(cmd::kReadLogRecordAt);
  EXPECT_EQ((std::array{f[3], f[4]}), (std::array{0x45, 0x23}));
}

TEST_F(RequestBuilderTest, StatusRequestAfterReferenceCalibrationCarriesStaleMarkers) {
  Build(cmd::kWriteCalibration);  // zeros in 3..11
  const Frame ref = Build(cmd::kReferenceCalibration);
  EXPECT_EQ((std::array{ref[3], ref[4], ref[5], ref[6]}), (std::array{0xAA, 0xAB, 0xAC, 0xAD}));
  const Frame status = Build(cmd::kReadStatus);
  const Frame again = Build(cmd::kReadStatus);
  EXPECT_EQ(status, (Frame{0, 0, 1, 0xAA, 0xAB, 0xAC, 0xAD, 0, 0, 0, 0, 0}));
  EXPECT_EQ(again, status);
  const Frame progress = Build(cmd::kReadCalProgress);
  EXPECT_EQ(progress, (Frame{0, 0, 23, 0xAA, 0xAA, 0xAC, 0xAD, 0, 0, 0, 0, 0}));
}

}  // namespace
