#include "panel/escaped_text.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cwchar>
#include <string>

namespace {

// The bytes an escaped text stands for.
std::string Unescaped(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && text[++i] == 'x') {
      bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// Well-formed UTF-8 without C0, DEL or C1 controls, by the C library's decoder (which
// also takes 5-byte forms and code points beyond U+10FFFF, as Unicode does not).
bool IsPlainText(std::string_view text) {
  std::mbstate_t state{};
  for (std::size_t length = 0; !text.empty(); text.remove_prefix(length)) {
    wchar_t c = 0;
    length = std::mbrtowc(&c, text.data(), text.size(), &state);
    if (length == 0 || length > 4 || c > 0x10FFFF || c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      return false;
    }
  }
  return true;
}

// Every pair of bytes, then each tail that completes, cuts short or spoils a longer
// sequence, or reads as an escape itself.
TEST(EscapedText, TellsEveryByteBackAndLeavesOnlyPlainText) {
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  ASSERT_NE(utf8, nullptr);
  const locale_t saved = uselocale(utf8);
  for (int pair = 0; pair < 0x10000; ++pair) {
    for (const char* tail :
         {"", "A", "\x7f", "\x80", "\xbf", "\xc0", "\x80\x80", "\x80\xbf", "\xbf\x7f", "\\x41"}) {
      const std::string bytes =
          std::string{static_cast<char>(pair >> 8), static_cast<char>(pair)} + tail;
      const std::string text = EscapedText(bytes);
      ASSERT_EQ(Unescaped(text), bytes) << text;
      ASSERT_TRUE(IsPlainText(text)) << text;
      const bool mayChange = !IsPlainText(bytes) || bytes.find('\\') != std::string::npos;
      ASSERT_TRUE(mayChange || text == bytes) << text;
    }
  }
  uselocale(saved);
  freelocale(utf8);
}

}  // namespace
