#include "link/termios_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Flag words without the speed bits, which are checked through cfget*speed.
constexpr tcflag_t kSpeedBits = CBAUD | CIBAUD;

termios Settings(tcflag_t cflag, tcflag_t iflag, tcflag_t oflag, tcflag_t lflag, cc_t vmin,
                 cc_t vtime) {
  termios t{};
  t.c_cflag = cflag;
  t.c_iflag = iflag;
  t.c_oflag = oflag;
  t.c_lflag = lflag;
  t.c_cc[VMIN] = vmin;
  t.c_cc[VTIME] = vtime;
  t.c_cc[VINTR] = 3;  // control characters are none of the port's business
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  return t;
}

struct DriverCase {
  std::string name;
  termios before;
  // Expected words after ApplyLineSettings, speed bits left out.
  tcflag_t cflag;
  tcflag_t iflag;
  tcflag_t oflag;
  tcflag_t lflag;
};

std::vector<DriverCase> DriverCases() {
  constexpr tcflag_t kTerminalLflag =
      ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
  return {
      {"UsbSerialDefaults",
       Settings(CS8 | CREAD | HUPCL | CLOCAL, ICRNL | IXON, OPOST | ONLCR, kTerminalLflag, 1, 0),
       CS8 | CSTOPB | CREAD | HUPCL | CLOCAL, 0, ONLCR, ECHOE | ECHOK | ECHOCTL | ECHOKE},
      {"PseudoTerminalDefaults",
       Settings(CS8 | CREAD, ICRNL | IXON | IUTF8 | IMAXBEL, OPOST | ONLCR, kTerminalLflag, 1, 0),
       CS8 | CSTOPB | CREAD, IUTF8 | IMAXBEL, ONLCR, ECHOE | ECHOK | ECHOCTL | ECHOKE},
      {"EverythingSwitchedOn",
       Settings(CS7 | PARENB | PARODD | CMSPAR | CRTSCTS | HUPCL | CLOCAL,
                INPCK | PARMRK | ISTRIP | IXON | IXOFF | IXANY | IGNBRK | BRKINT | INLCR | IGNCR |
                    ICRNL | IUCLC | IGNPAR | IMAXBEL,
                OPOST | ONLCR | OCRNL | OLCUC, kTerminalLflag | ECHONL | TOSTOP, 5, 10),
       CS8 | CSTOPB | CREAD | HUPCL | CLOCAL, IGNPAR | IMAXBEL, ONLCR | OCRNL | OLCUC,
       ECHOE | ECHOK | ECHOCTL | ECHOKE | TOSTOP},
      {"NothingSwitchedOn", Settings(CS5, 0, 0, 0, 0, 0), CS8 | CSTOPB | CREAD, 0, 0, 0},
      {"HangUpOnCloseWithoutLocalMode", Settings(CS8 | HUPCL, 0, 0, 0, 1, 0),
       CS8 | CSTOPB | CREAD | HUPCL, 0, 0, 0},
  };
}

class LineSettingsOnDriverState : public testing::TestWithParam<DriverCase> {};

TEST_P(LineSettingsOnDriverState, ChangeOnlyTheLineFormatAndKeepModemControl) {
  const DriverCase& c = GetParam();
  termios t = c.before;
  ApplyLineSettings(t);
  EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B2400));
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
  EXPECT_EQ(t.c_cflag & ~kSpeedBits, c.cflag) << std::oct << (t.c_cflag & ~kSpeedBits);
  EXPECT_EQ(t.c_iflag, c.iflag) << std::oct << t.c_iflag;
  EXPECT_EQ(t.c_oflag, c.oflag) << std::oct << t.c_oflag;
  EXPECT_EQ(t.c_lflag, c.lflag) << std::oct << t.c_lflag;
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);
  EXPECT_EQ(t.c_cc[VINTR], 3);
  EXPECT_TRUE(HasLineSettings(t));
}

INSTANTIATE_TEST_SUITE_P(Drivers, LineSettingsOnDriverState, testing::ValuesIn(DriverCases()),
                         [](const auto& info) { return info.param.name; });

TEST(LineSettings, EachStepTouchesOnlyItsOwnPart) {
  const termios before = Settings(CS7 | PARENB | CRTSCTS | HUPCL, ICRNL | IXON | INPCK,
                                  OPOST | ONLCR, ICANON | ECHO | ISIG, 1, 5);
  termios t = before;
  SetNonWaitingReads(t);
  EXPECT_EQ(t.c_cflag, before.c_cflag);
  EXPECT_EQ(t.c_iflag, before.c_iflag);
  EXPECT_EQ(t.c_lflag, before.c_lflag);

  t = before;
  SetNoFlowControl(t);
  EXPECT_EQ(t.c_cflag, before.c_cflag & ~CRTSCTS);
  EXPECT_EQ(t.c_iflag, ICRNL | INPCK);
  EXPECT_EQ(t.c_lflag, before.c_lflag);

  t = before;
  SetRawBytes(t);
  EXPECT_EQ(t.c_cflag, before.c_cflag);
  EXPECT_EQ(t.c_iflag, IXON | INPCK);
  EXPECT_EQ(t.c_oflag, static_cast<tcflag_t>(ONLCR));
  EXPECT_EQ(t.c_lflag, 0u);
  EXPECT_EQ(t.c_cc[VMIN], 1);

  t = before;
  SetLineSpeed(t);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
  EXPECT_EQ(t.c_cflag & ~kSpeedBits, before.c_cflag & ~kSpeedBits);
}

// What a driver hands back after a change it took only in part.
struct Shortfall {
  std::string name;
  std::function<void(termios&)> spoil;
};

class ReadBackWithShortfall : public testing::TestWithParam<Shortfall> {};

TEST_P(ReadBackWithShortfall, IsNotTheLineFormat) {
  termios t = Settings(CS8 | CREAD | HUPCL | CLOCAL, 0, 0, 0, 0, 0);
  ApplyLineSettings(t);
  GetParam().spoil(t);
  EXPECT_FALSE(HasLineSettings(t));
}

INSTANTIATE_TEST_SUITE_P(
    Driver, ReadBackWithShortfall,
    testing::Values(Shortfall{"OutputSpeed", [](termios& t) { cfsetospeed(&t, B9600); }},
                    Shortfall{"InputSpeed", [](termios& t) { cfsetispeed(&t, B4800); }},
                    Shortfall{"SevenBits",
                              [](termios& t) { t.c_cflag = (t.c_cflag & ~CSIZE) | CS7; }},
                    Shortfall{"Parity", [](termios& t) { t.c_cflag |= PARENB; }},
                    Shortfall{"OneStopBit", [](termios& t) { t.c_cflag &= ~CSTOPB; }},
                    Shortfall{"ReceiverOff", [](termios& t) { t.c_cflag &= ~CREAD; }},
                    Shortfall{"HardwareFlow", [](termios& t) { t.c_cflag |= CRTSCTS; }},
                    Shortfall{"SoftwareFlow", [](termios& t) { t.c_iflag |= IXOFF; }},
                    Shortfall{"ParityCheck", [](termios& t) { t.c_iflag |= INPCK; }},
                    Shortfall{"CarriageReturns", [](termios& t) { t.c_iflag |= ICRNL; }},
                    Shortfall{"LineEditing", [](termios& t) { t.c_lflag |= ICANON; }},
                    Shortfall{"Echo", [](termios& t) { t.c_lflag |= ECHO; }},
                    Shortfall{"OutputProcessing", [](termios& t) { t.c_oflag |= OPOST; }},
                    Shortfall{"WaitForOneByte", [](termios& t) { t.c_cc[VMIN] = 1; }},
                    Shortfall{"ReadTimeout", [](termios& t) { t.c_cc[VTIME] = 1; }}),
    [](const auto& info) { return info.param.name; });

TEST(LineSettings, ReadBackWithOtherBitsChangedByTheDriverStillHolds) {
  termios t = Settings(CS8 | CREAD | HUPCL, 0, 0, 0, 0, 0);
  ApplyLineSettings(t);
  t.c_cflag = (t.c_cflag & ~HUPCL) | CLOCAL;  // a driver without modem lines
  t.c_iflag |= IGNPAR;
  EXPECT_TRUE(HasLineSettings(t));
}

}  // namespace
