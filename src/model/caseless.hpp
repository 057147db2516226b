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

/// True when `text` begins with `prefix`, letter case ignored; every other
/// character, wildcards included, matches only itself.
bool caselessStartsWith(std::string_view text, std::string_view prefix);

/// `text` with every letter that foldCase knows turned to its lower-case
/// partner; bytes that are not valid UTF-8 are copied unchanged.
std::string lowerCase(std::string_view text);

} // namespace hw
