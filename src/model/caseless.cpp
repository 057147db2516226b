#include "model/caseless.hpp"

#include "model/utf8.hpp"

#include <cstddef>
#include <cstdint>

namespace hw {

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    // Latin Extended-A alternates capital and small letters, with a change of
    // parity after U+0138 and U+0178. U+0130/U+0131 (Turkish i) have no simple pair.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c + 1 : c;
    if (c == 0x178)
        return 0xFF;
    // Greek
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 0x20;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 0x25;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 0x3F;
    // Cyrillic
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF))
        return c | 1;
    return c;
}

namespace {

// Decodes the code point at `i` and advances `i`. A byte that does not start a
// valid, shortest-form sequence stands for itself as U+DC80 + byte - 0x80.
char32_t nextCodePoint(std::string_view s, std::size_t &i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
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
    if (len != 0 && i + len <= s.size()) {
        bool ok = true;
        for (int k = 1; k < len && ok; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            ok = (b & 0xC0) == 0x80;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (ok && cp >= min && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
            i += len;
            return cp;
        }
    }
    ++i;
    return 0xDC00 + b0;
}

} // namespace

int caselessCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t x, y;
        if ((ca | cb) < 0x80) { // both ASCII: the common case
            x = foldCase(ca), y = foldCase(cb);
            ++i, ++j;
        } else {
            x = foldCase(nextCodePoint(a, i));
            y = foldCase(nextCodePoint(b, j));
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool caselessStartsWith(std::string_view text, std::string_view prefix)
{
    std::size_t i = 0, j = 0;
    while (j < prefix.size()) {
        if (i >= text.size())
            return false;
        if (foldCase(nextCodePoint(text, i)) != foldCase(nextCodePoint(prefix, j)))
            return false;
    }
    return true;
}

std::string lowerCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t cp = nextCodePoint(text, i);
        // A byte that is not valid UTF-8 decodes to U+DC80..U+DCFF, which no
        // valid sequence can give: copy it as it stands.
        if (cp >= 0xDC80 && cp <= 0xDCFF)
            out.append(text.substr(start, i - start));
        else
            appendUtf8(out, foldCase(cp));
    }
    return out;
}

} // namespace hw
