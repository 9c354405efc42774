#include "link/msg_stack.h"

#include <gtest/gtest.h>

TEST(MsgStack, PopsInReverseOfPushOrder) {
  MsgStack stack;
  for (int code : {1, 2, 3}) stack.Push(code);
  EXPECT_EQ(stack.Pop(), 3);
  EXPECT_EQ(stack.Pop(), 2);
  EXPECT_EQ(stack.Pop(), 1);
  EXPECT_EQ(stack.GetCount(), 0);
}

TEST(MsgStack, PopOfEmptyStackGivesZeroAndStaysEmpty) {
  MsgStack stack;
  EXPECT_EQ(stack.Pop(), 0);
  EXPECT_EQ(stack.GetCount(), 0);
  stack.Push(7);
  EXPECT_EQ(stack.Pop(), 7);
  EXPECT_EQ(stack.Pop(), 0);
  EXPECT_EQ(stack.GetCount(), 0);
}

TEST(MsgStack, The97thPushIsDroppedSilently) {
  MsgStack stack;
  for (int i = 1; i <= MsgStack::kStackCapacity; ++i) stack.Push(i);
  stack.Push(500);
  EXPECT_EQ(stack.GetCount(), 96);
  EXPECT_EQ(stack.Pop(), 96);
  stack.Push(501);  // room again after a pop
  EXPECT_EQ(stack.Pop(), 501);
}

TEST(MsgStack, ClearEmptiesButKeepsSlotContents) {
  MsgStack stack;
  for (int code : {17, 19, 21}) stack.Push(code);
  stack.Clear();
  EXPECT_EQ(stack.GetCount(), 0);
  EXPECT_EQ(stack.SlotAt(3), 21);
  EXPECT_EQ(stack.Pop(), 0);
  stack.Push(5);
  EXPECT_EQ(stack.SlotAt(1), 5);
  EXPECT_EQ(stack.SlotAt(2), 19);
  EXPECT_EQ(stack.Pop(), 5);
}
