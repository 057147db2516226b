#include "model/caseless.hpp"

#include "model/utf8.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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
            x = foldCase(decodeUtf8(a, i));
            y = foldCase(decodeUtf8(b, j));
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
        if (foldCase(decodeUtf8(text, i)) != foldCase(decodeUtf8(prefix, j)))
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
        const char32_t cp = decodeUtf8(text, i);
        // A byte that is not valid UTF-8 decodes to U+DC80..U+DCFF, which no
        // valid sequence can give: copy it as it stands.
        if (isInvalidByte(cp))
            out.append(text.substr(start, i - start));
        else
            appendUtf8(out, foldCase(cp));
    }
    return out;
}

void appendCaselessKey(std::string &key, std::string_view text)
{
    // A run of ASCII is copied and folded in place: the common case, and the
    // one that a list of a million entries needs fast. The rest goes by code
    // point.
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    const std::size_t at = key.size();
    key.append(text.substr(0, i));
    for (auto c = key.begin() + static_cast<std::ptrdiff_t>(at); c != key.end(); ++c)
        *c = static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c + 0x20 : *c);
    while (i < text.size())
        appendUtf8(key, foldCase(decodeUtf8(text, i)));
}

namespace {

static_assert(std::endian::native == std::endian::little,
              "the word-wise comparison takes a text's first byte as its word's lowest");

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// The eight bytes of `word` with asciiLower applied to each: a byte from 'A'
// to 'Z' (and below 0x80) gets 0x20 added.
std::uint64_t lowerWord(std::uint64_t word)
{
    const std::uint64_t low7 = word & (0x7F * kOnes);
    const std::uint64_t fromA = low7 + (0x80 - 'A') * kOnes;
    const std::uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t upper = fromA & ~pastZ & ~word & (0x80 * kOnes);
    return word | upper >> 2;
}

std::uint64_t loadWord(const char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

// The `count` bytes of `text` from `at` on (at most eight) as the low bytes
// of a word: where the text is long enough, its last eight bytes read at
// once, the ones already compared shifted out.
std::uint64_t loadTail(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + 8 <= text.size())
        return loadWord(text.data() + at) & (count == 8 ? ~0ull : (1ull << (8 * count)) - 1);
    if (text.size() >= 8)
        return loadWord(text.data() + text.size() - 8) >> (8 * (8 - (text.size() - at))) &
            ((1ull << (8 * count)) - 1);
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, count);
    return word;
}

} // namespace

// Eight bytes at a time: ids are compared by the hundred thousand when the
// game's data is sorted.
int asciiCaselessCompare(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t at = 0; at < common; at += 8) {
        const std::size_t count = std::min<std::size_t>(8, common - at);
        const auto x = lowerWord(loadTail(a, at, count));
        const auto y = lowerWord(loadTail(b, at, count));
        if (x != y) {
            const int shift = std::countr_zero(x ^ y) & ~7;
            return (x >> shift & 0xFF) < (y >> shift & 0xFF) ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool asciiCaselessStartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
        asciiCaselessCompare(text.substr(0, prefix.size()), prefix) == 0;
}

std::string asciiLowerCase(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = asciiLower(c);
    return out;
}

std::string caselessKey(std::string_view text)
{
    std::string key;
    appendCaselessKey(key, text);
    return key;
}

} // namespace hw
