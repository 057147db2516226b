#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hw {

/// Appends the UTF-8 form of the code point `cp` (at most U+10FFFF) to `out`:
/// one to four bytes. A surrogate gets the three bytes of its number, which
/// keeps the order of code points in the order of bytes.
void appendUtf8(std::string &out, char32_t cp);

/// The first code point of the UTF-8 text `text` from byte `at` on, which must
/// lie before its end; `at` moves past it. A byte that does not begin a valid,
/// shortest-form sequence stands for itself as U+DC80 + byte - 0x80 (a lone
/// surrogate, which no valid sequence gives) and is passed over alone.
char32_t decodeUtf8(std::string_view text, std::size_t &at);

/// Appends the UTF-8 form of the UTF-16 text `text` to `out`; an unpaired
/// surrogate becomes U+FFFD.
void appendUtf16AsUtf8(std::string &out, std::u16string_view text);

/// The UTF-8 form of the UTF-16 text `text`, as appendUtf16AsUtf8 writes it.
std::string utf8FromUtf16(std::u16string_view text);

/// Whether every byte of `text` is below 0x80: ASCII, which UTF-8 and every
/// code page of the game hold as the same bytes.
bool isAscii(std::string_view text);

/// True for the stand-ins of decodeUtf8 for bytes that are not valid UTF-8.
constexpr bool isInvalidByte(char32_t cp)
{
    return cp >= 0xDC80 && cp <= 0xDCFF;
}

} // namespace hw
