#include "model/utf8.hpp"

#include <cstdint>
#include <cstring>

namespace hw {

bool isAscii(std::string_view text)
{
    // Eight bytes at a time: a byte of 0x80 or more sets the top bit of its
    // byte in the word.
    std::uint64_t seen = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        seen |= word;
    }
    for (; at < text.size(); ++at)
        seen |= static_cast<unsigned char>(text[at]);
    return (seen & 0x8080808080808080ull) == 0;
}

void appendUtf8(std::string &out, char32_t cp)
{
    auto byte = [&](char32_t b) { out.push_back(static_cast<char>(b)); };
    if (cp < 0x80) {
        byte(cp);
    } else if (cp < 0x800) {
        byte(0xC0 | (cp >> 6));
        byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        byte(0xE0 | (cp >> 12));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    } else {
        byte(0xF0 | (cp >> 18));
        byte(0x80 | ((cp >> 12) & 0x3F));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    }
}

void appendUtf16AsUtf8(std::string &out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
}

std::string utf8FromUtf16(std::u16string_view text)
{
    std::string out;
    appendUtf16AsUtf8(out, text);
    return out;
}

char32_t decodeUtf8(std::string_view text, std::size_t &at)
{
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80) {
        ++at;
        return b0;
    }
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    }
    if (len != 0 && at + len <= text.size()) {
        bool ok = true;
        for (int k = 1; k < len && ok; ++k) {
            const auto b = static_cast<unsigned char>(text[at + k]);
            ok = (b & 0xC0) == 0x80;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (ok && cp >= min && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
            at += len;
            return cp;
        }
    }
    ++at;
    return 0xDC00 + b0;
}

} // namespace hw
