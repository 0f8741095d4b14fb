#include "core/text_encoding.h"

#include <cstdint>

namespace vorn {
namespace {

// Code points of bytes 0x80-0x9F in Windows-1252; 0 marks the five unassigned bytes, which are
// shown as U+FFFD. Bytes from 0xA0 on equal their Latin-1 code points.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

constexpr std::string_view kUtf16LittleEndian = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndian = "\xFE\xFF";

// UTF-16 code units after the byte-order mark, in UTF-8; a lone surrogate or a last odd byte
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t at) -> char32_t {
    const auto a = static_cast<std::uint8_t>(bytes[at]), b = static_cast<std::uint8_t>(bytes[at + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
  return out;
}

// Decodes the UTF-8 sequence at text[i] and moves i past it; false for a malformed sequence.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& code) {
  const auto lead = static_cast<std::uint8_t>(text[i]);
  std::size_t extra = 0;
  if (lead < 0x80) {
    code = lead;
    ++i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07;
  } else {
    return false;
  }
  if (i + extra >= text.size()) return false;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<std::uint8_t>(text[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  i += extra + 1;
  return true;
}

// The Windows-1252 byte of a code point; false when the code page has none.
bool Windows1252Byte(char32_t code, char& byte) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    byte = static_cast<char>(code);
    return true;
  }
  for (std::size_t k = 0; k < 32; ++k) {
    if (kHighControls[k] != 0 && kHighControls[k] == code) {
      byte = static_cast<char>(0x80 + k);
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  char32_t code = 0;
  while (i < text.size()) {
    if (!DecodeUtf8(text, i, code)) return false;
  }
  return true;
}

std::string DisplayText(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    char32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kHighControls[byte - 0x80] ? kHighControls[byte - 0x80] : 0xFFFD;
    AppendUtf8(out, code);
  }
  return out;
}

std::string ProgramText(std::string_view utf8) {
  std::string encoded;
  encoded.reserve(utf8.size());
  std::size_t i = 0;
  char32_t code = 0;
  while (i < utf8.size()) {
    char byte = 0;
    if (!DecodeUtf8(utf8, i, code)) return std::string(utf8);
    if (!Windows1252Byte(code, byte)) return std::string(utf8);
    encoded += byte;
  }
  if (encoded != utf8 && IsValidUtf8(encoded)) return std::string(utf8);
  return encoded;
}

bool StartsWithUtf16ByteOrderMark(std::string_view bytes) {
  return bytes.starts_with(kUtf16LittleEndian) || bytes.starts_with(kUtf16BigEndian);
}

std::string FileText(std::string bytes) {
  if (!StartsWithUtf16ByteOrderMark(bytes)) return bytes;
  return Utf16ToUtf8(std::string_view(bytes).substr(2), bytes.starts_with(kUtf16BigEndian));
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += (static_cast<std::uint8_t>(c) & 0xC0) != 0x80;
  return count;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t started = 0; end < utf8.size(); ++end) {
    if ((static_cast<std::uint8_t>(utf8[end]) & 0xC0) != 0x80 && started++ == count) break;
  }
  return utf8.substr(0, end);
}

}  // namespace vorn
