#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Bytes that come from the machine or name a device, made safe to put in the files and
// names this program writes: such bytes must not break a line, forge one, or drive the
// terminal a file is printed on.

// One UTF-8 character: its code point and the bytes it takes.
struct Utf8Char {
  char32_t codePoint;
  std::size_t length;
};

// The character text begins with, or nothing when it does not begin with a well-formed
// UTF-8 sequence (a stray continuation byte, an overlong form, a surrogate, a code point
// beyond U+10FFFF, a sequence cut short).
std::optional<Utf8Char> FirstUtf8Char(std::string_view text);

// The C0 controls, DEL and the C1 controls.
bool IsControlCharacter(char32_t codePoint);

// The bytes as text: each byte of a control character and each byte that is not part of
// well-formed UTF-8 as "\xNN" (two lowercase hex digits), a backslash as "\\", everything
// else as it is. The bytes can be told back from the text.
std::string EscapedText(std::string_view bytes);
