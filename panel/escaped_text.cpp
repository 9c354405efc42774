#include "panel/escaped_text.h"

#include <array>

namespace {

// Well-formed UTF-8 by its first byte: the sequence's length and the range its second
// byte must lie in, which excludes overlong forms, surrogates and code points beyond
// U+10FFFF. Every later byte lies in 0x80 to 0xBF.
struct LeadBytes {
  unsigned char first, last;
  unsigned char length;
  unsigned char secondLow, secondHigh;
};
constexpr LeadBytes kLeads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};
constexpr unsigned char kContinuationLow = 0x80;
constexpr unsigned char kContinuationHigh = 0xBF;
constexpr unsigned kContinuationBits = 6;
constexpr unsigned char kContinuationMask = 0x3F;
constexpr char32_t kLastC0 = 0x1F;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1 = 0x9F;

const LeadBytes* LeadOf(unsigned char byte) {
  for (const LeadBytes& lead : kLeads) {
    if (byte >= lead.first && byte <= lead.last) return &lead;
  }
  return nullptr;
}

void AppendHex(std::string& text, std::string_view bytes) {
  constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                            '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += "\\x";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
}

}  // namespace

std::optional<Utf8Char> FirstUtf8Char(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (byte(0) < kContinuationLow) return Utf8Char{byte(0), 1};
  const LeadBytes* lead = LeadOf(byte(0));
  if (lead == nullptr || text.size() < lead->length) return std::nullopt;
  if (byte(1) < lead->secondLow || byte(1) > lead->secondHigh) return std::nullopt;
  // The lead byte's own bits lie below its length's marker bits.
  const std::size_t length = lead->length;
  char32_t codePoint = byte(0) & (0x7FU >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (byte(i) < kContinuationLow || byte(i) > kContinuationHigh) return std::nullopt;
    codePoint = (codePoint << kContinuationBits) | (byte(i) & kContinuationMask);
  }
  return Utf8Char{codePoint, length};
}

bool IsControlCharacter(char32_t codePoint) {
  return codePoint <= kLastC0 || (codePoint >= kDelete && codePoint <= kLastC1);
}

std::string EscapedText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::optional<Utf8Char> character = FirstUtf8Char(bytes);
    const std::string_view raw = bytes.substr(0, character ? character->length : 1);
    if (!character || IsControlCharacter(character->codePoint)) {
      AppendHex(text, raw);
    } else if (raw == "\\") {
      text += "\\\\";
    } else {
      text += raw;
    }
    bytes.remove_prefix(raw.size());
  }
  return text;
}
