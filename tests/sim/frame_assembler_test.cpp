#include "tools/brumo-sim/frame_assembler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using sim::Frame;
using sim::FrameAssembler;

struct Arrival {
  int64_t ms;
  uint8_t byte;
};

// Bytes 0 .. 11 of a request for `code`, all arriving at `ms`.
std::vector<Arrival> RequestAt(int64_t ms, uint8_t code) {
  std::vector<Arrival> bytes;
  for (uint8_t i = 0; i < 12; ++i) bytes.push_back({ms, i == 2 ? code : static_cast<uint8_t>(i)});
  return bytes;
}

std::vector<Frame> FeedAll(FrameAssembler& framer, const std::vector<Arrival>& arrivals) {
  std::vector<Frame> frames;
  for (const Arrival& a : arrivals)
    if (auto frame = framer.Feed(a.byte, a.ms)) frames.push_back(*frame);
  return frames;
}

std::vector<Arrival> Join(std::initializer_list<std::vector<Arrival>> parts) {
  std::vector<Arrival> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct FramingCase {
  const char* what;
  std::vector<Arrival> arrivals;
  std::vector<int> codes;  // byte 2 of each frame completed
  std::size_t dropped;
};

TEST(FrameAssembler, FramesOnTwelveBytesAndOnThePause) {
  const std::vector<FramingCase> cases = {
      {"one request", RequestAt(100, 19), {19}, 0},
      {"two back to back", Join({RequestAt(100, 1), RequestAt(100, 15)}), {1, 15}, 0},
      {"bytes trickling at line speed",
       [] {
         auto bytes = RequestAt(0, 3);
         for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i].ms = 5 * static_cast<int64_t>(i);
         return bytes;
       }(),
       {3},
       0},
      {"a gap of exactly 20 ms is no pause",
       Join({{{100, 0}, {100, 0}}, {{120, 7}}, std::vector<Arrival>(9, {120, 0})}),
       {7},
       0},
      {"partial then pause, then a whole request",
       Join({std::vector<Arrival>(5, {100, 0xEE}), RequestAt(121, 17)}),
       {17},
       5},
      {"thirteen bytes, pause, request",
       Join({RequestAt(100, 9), {{100, 0x55}}, RequestAt(340, 11)}),
       {9, 11},
       1},
      {"a pause inside a request loses it",
       Join({std::vector<Arrival>(6, {100, 0}), std::vector<Arrival>(6, {150, 0}),
             RequestAt(400, 13)}),
       {13},
       12},
  };
  for (const FramingCase& c : cases) {
    FrameAssembler framer;
    const std::vector<Frame> frames = FeedAll(framer, c.arrivals);
    std::vector<int> codes;
    for (const Frame& f : frames) codes.push_back(f[2]);
    EXPECT_EQ(codes, c.codes) << c.what;
    EXPECT_EQ(framer.Dropped(), c.dropped) << c.what;
  }
}

TEST(FrameAssembler, DeliversTheBytesInOrder) {
  FrameAssembler framer;
  std::vector<Frame> frames;
  for (uint8_t i = 0; i < 12; ++i)
    if (auto f = framer.Feed(static_cast<uint8_t>(0xF0 ^ i), 50)) frames.push_back(*f);
  ASSERT_EQ(frames.size(), 1u);
  for (uint8_t i = 0; i < 12; ++i) EXPECT_EQ(frames[0][i], 0xF0 ^ i);
  EXPECT_EQ(framer.Pending(), 0u);
}

}  // namespace
