#pragma once

#include <string>
#include <string_view>

namespace hw {

/// The lower-case partner of a code point for caseless comparison: ASCII,
/// Latin-1, Latin Extended-A, Greek and Cyrillic letters (everything the
/// game's single-byte code pages can hold); every other code point is itself.
char32_t foldCase(char32_t c);

/// Caseless ordinal comparison of two UTF-8 texts: code point by code point
/// after folding, a text before its longer extensions. Bytes that are not valid
/// UTF-8 compare as themselves, each after every valid code point below U+DC80.
/// Returns <0, 0 or >0.
int caselessCompare(std::string_view a, std::string_view b);

inline bool caselessEqual(std::string_view a, std::string_view b)
{
    return caselessCompare(a, b) == 0;
}

inline bool caselessLess(std::string_view a, std::string_view b)
{
    return caselessCompare(a, b) < 0;
}

/// A sort key of `text`: its folded code points in UTF-8 (a byte that is not
/// valid UTF-8 as its stand-in), so that comparing two keys as strings of
/// unsigned bytes gives caselessCompare's order of the texts. Folding each
/// text once and comparing keys is much faster than caselessCompare.
std::string caselessKey(std::string_view text);

/// Appends the sort key of `text` (caselessKey) to `key`.
void appendCaselessKey(std::string &key, std::string_view text);

/// True when `text` begins with `prefix`, letter case ignored; every other
/// character, wildcards included, matches only itself.
bool caselessStartsWith(std::string_view text, std::string_view prefix);

/// `text` with every letter that foldCase knows turned to its lower-case
/// partner; bytes that are not valid UTF-8 are copied unchanged.
std::string lowerCase(std::string_view text);

// The game's engines fold letter case in ASCII only, whatever the code page:
// "Àrvs" and "àrvs" name two NPCs, and OpenMW does not find "Café.esp" for
// content=CAFÉ.esp. Ids, and file names as OpenMW
// looks them up, are compared with the functions below; the Unicode fold
// above is for what the author reads and types.

/// `c` with A to Z turned to a to z; every other byte is itself.
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

/// Compares two texts byte by byte, as unsigned bytes, after asciiLower: for
/// UTF-8 the order of code points, a text before its longer extensions.
/// Returns <0, 0 or >0.
int asciiCaselessCompare(std::string_view a, std::string_view b);

inline bool asciiCaselessEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && asciiCaselessCompare(a, b) == 0;
}

inline bool asciiCaselessLess(std::string_view a, std::string_view b)
{
    return asciiCaselessCompare(a, b) < 0;
}

/// True when `text` begins with `prefix`, ASCII letter case ignored.
bool asciiCaselessStartsWith(std::string_view text, std::string_view prefix);

/// `text` with asciiLower applied to every byte.
std::string asciiLowerCase(std::string_view text);

} // namespace hw
