#include "replies/event_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextRow {
  int type;
  std::size_t length;
  std::size_t trailingSpaces;
  const char* words;  // the text without its trailing spaces
};

// The event text table: type, length and trailing spaces as the machine's tool has them.
constexpr TextRow kTextTable[] = {
    {1, 26, 13, "System Set at"},
    {2, 26, 11, "System Unset at"},
    {3, 26, 6, "System Activation at"},
    {4, 26, 8, "System Retriger at"},
    {5, 26, 2, "System Activation End at"},
    {6, 26, 6, "System Power-Down at"},
    {7, 25, 1, "Zonesensor Activation at"},
    {8, 26, 11, "Input Change at"},
    {9, 27, 11, "Status Change at"},
    {10, 26, 7, "Panic Activation at"},
    {11, 26, 8, "Test Activation at"},
    {12, 28, 8, "Battery Save Mode at"},
    {13, 27, 8, "Brown-out on 12V at"},
    {14, 26, 7, "SAI Mode Started at"},
    {15, 25, 8, "SAI Mode Ended at"},
    {16, 25, 7, "System Power-Up at"},
    {17, 25, 9, "Service Reset at"},
    {18, 27, 9, "System Time set at"},
    {19, 19, 9, "Log End at"},
    {20, 25, 9, "Aux Power off at"},
    {21, 23, 7, "USB Connected at"},
    {22, 27, 8, "USB Disconnected at"},
    {23, 30, 13, "System Standby at"},
    {24, 30, 13, "System Restart at"},
};

TEST(EventTexts, MatchTheTableToTheTrailingSpace) {
  for (const TextRow& row : kTextTable) {
    const std::string expected = row.words + std::string(row.trailingSpaces, ' ');
    ASSERT_EQ(expected.size(), row.length) << "table row " << row.type;
    EXPECT_EQ(EventText(row.type), expected) << "type " << row.type;
  }
}

TEST(EventTexts, UnknownTypesGiveQuestionMarks) {
  for (int type : {0, 25, 26, 100, 255, -1, 256}) EXPECT_EQ(EventText(type), " ??? ") << type;
}

struct LineRow {
  int type;
  int64_t time;
  const char* expected;
};

TEST(EventLine, JoinsTextDateAndTime) {
  const LineRow rows[] = {
      {7, 1'700'000'000, "Event = Zonesensor Activation at 11/14/23 22:13:20"},
      {19, 0, "Event = Log End at         01/01/70 00:00:00"},
      {0, -1, "Event =  ???  "},
      {24, INT32_MIN, "Event = System Restart at              "},
      {1, INT32_MAX, "Event = System Set at             01/19/38 03:14:07"},
  };
  for (const LineRow& row : rows) EXPECT_EQ(EventLine(row.type, row.time), row.expected);
}

struct DetailRow {
  int type;
  int bits;
  const char* expected;
};

TEST(EventDetailLine, ShowsInputsForType8AndStatusForType9Only) {
  const DetailRow rows[] = {
      {8, 0xFF, "***Inputs = smoke on,set on,fire on,aux-in on,test on,Case closed,CS on,PIR on,"},
      {8, 0x00,
       "***Inputs = smoke off,set off,fire off,aux-in off,test off,Case open,CS off,PIR off"},
      {8, 0x81,
       "***Inputs = smoke on,set off,fire off,aux-in off,test off,Case open,CS off,PIR on,"},
      {8, 0x24,
       "***Inputs = smoke off,set off,fire on,aux-in off,test off,Case closed,CS off,PIR off"},
      {9, 0x00,
       "***Status = Bat off,Mains off,Ready off,Temp-err off,Low flu off,No flu off,Sys fault"},
      {9, 0x08,
       "***Status = Bat off,Mains off,Ready off,Temp-err off,Low flu off,No flu off,Sys fault"},
      {9, 0xF7, "***Status = Bat on,Mains on,Ready on,Temp-err on,Low flu on,No flu on,Sys ok,"},
      {9, 0x52,
       "***Status = Bat off,Mains on,Ready off,Temp-err on,Low flu off,No flu on,Sys fault"},
      {7, 0xFF, ""},
      {10, 0x00, ""},
      {0, 0xFF, ""},
  };
  for (const DetailRow& row : rows) {
    EXPECT_EQ(EventDetailLine(row.type, row.bits), row.expected) << row.type << "/" << row.bits;
  }
}

}  // namespace
