#pragma once

// The machine's line format as changes to a termios struct, kept apart from the port
// itself so that the settings can be checked without a device.

#include <termios.h>

// 2400 baud in both directions.
void SetLineSpeed(termios& settings);
// 8 data bits, no parity and no parity checking, 2 stop bits, receiver on.
void SetFrameFormat(termios& settings);
// No RTS/CTS and no XON/XOFF flow control.
void SetNoFlowControl(termios& settings);
// Raw bytes both ways: no echo, no line editing, no signals, no translation.
void SetRawBytes(termios& settings);
// A read returns at once with whatever has arrived, possibly nothing.
void SetNonWaitingReads(termios& settings);

// All of the above. The modem-control lines (DTR and RTS, HUPCL), CLOCAL and every
// other flag stay as the driver had them.
void ApplyLineSettings(termios& settings);

// True when settings (as read back from the driver) carry the line format above. A
// driver may accept a change in part and still report success.
bool HasLineSettings(const termios& settings);
