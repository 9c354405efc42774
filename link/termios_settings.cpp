#include "link/termios_settings.h"

#include <array>

namespace {

constexpr speed_t kLineSpeed = B2400;

// One flag word of a termios struct: the bits cleared, then the bits set.
struct FlagChange {
  tcflag_t termios::*word;
  tcflag_t off;
  tcflag_t on;
};

constexpr std::array kFrameFormat = {
    FlagChange{&termios::c_cflag, CSIZE | PARENB | PARODD | CMSPAR, CS8 | CSTOPB | CREAD},
    FlagChange{&termios::c_iflag, INPCK | PARMRK | ISTRIP, 0},
};

constexpr std::array kNoFlowControl = {
    FlagChange{&termios::c_cflag, CRTSCTS, 0},
    FlagChange{&termios::c_iflag, IXON | IXOFF | IXANY, 0},
};

// A received break reads as a 0 byte rather than raising a signal or vanishing.
constexpr std::array kRawBytes = {
    FlagChange{&termios::c_iflag, IGNBRK | BRKINT | INLCR | IGNCR | ICRNL | IUCLC, 0},
    FlagChange{&termios::c_oflag, OPOST, 0},
    FlagChange{&termios::c_lflag, ECHO | ECHONL | ICANON | ISIG | IEXTEN, 0},
};

template <std::size_t N>
void Apply(termios& settings, const std::array<FlagChange, N>& changes) {
  for (const FlagChange& change : changes) {
    settings.*change.word = (settings.*change.word & ~change.off) | change.on;
  }
}

template <std::size_t N>
bool Holds(const termios& settings, const std::array<FlagChange, N>& changes) {
  for (const FlagChange& change : changes) {
    if ((settings.*change.word & (change.off | change.on)) != change.on) return false;
  }
  return true;
}

}  // namespace

void SetLineSpeed(termios& settings) {
  cfsetispeed(&settings, kLineSpeed);
  cfsetospeed(&settings, kLineSpeed);
}

void SetFrameFormat(termios& settings) {
  Apply(settings, kFrameFormat);
}

void SetNoFlowControl(termios& settings) {
  Apply(settings, kNoFlowControl);
}

void SetRawBytes(termios& settings) {
  Apply(settings, kRawBytes);
}

void SetNonWaitingReads(termios& settings) {
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
}

void ApplyLineSettings(termios& settings) {
  SetLineSpeed(settings);
  SetFrameFormat(settings);
  SetNoFlowControl(settings);
  SetRawBytes(settings);
  SetNonWaitingReads(settings);
}

bool HasLineSettings(const termios& settings) {
  // Only the bits this format owns are compared: drivers may adjust others.
  return cfgetispeed(&settings) == kLineSpeed && cfgetospeed(&settings) == kLineSpeed &&
         Holds(settings, kFrameFormat) && Holds(settings, kNoFlowControl) &&
         Holds(settings, kRawBytes) && settings.c_cc[VMIN] == 0 && settings.c_cc[VTIME] == 0;
}
