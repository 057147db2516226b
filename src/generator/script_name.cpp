#include "generator/script_name.hpp"

#include "model/caseless.hpp"
#include "model/utf8.hpp"

#include <algorithm>
#include <cstdint>

namespace hw {
namespace {

constexpr std::string_view kSuffix = "_sched_sc_01";

// What the script compiler takes in a name, as OpenMW 0.47 compiled a Begin
// line, a StartScript and a StopScript naming it:
// - letters, digits and "_" anywhere, a digit or "_" first included;
// - "-" and "'" (and "`") inside a name, but not as its first character;
// - every character beyond ASCII of the code page, accented letters and
//   signs such as "×" alike; only letters are taken here, which is what ids
//   hold, and what a stricter compiler is sure to take too;
// - no other sign: "\ @ # , : ! & ( + / = < > ~ ? $ % * ^ [ ] { } |", a
//   double quote or a tab stop the line with an error;
// - "." is taken after Begin but refused after StartScript and StopScript,
//   so a script so named can never be started or stopped;
// - ";" starts a comment: "Begin x;y" compiles, as a script named "x".
// Names of 31 and 32 characters were both taken; the record's 32 bytes leave
// room for 31 and the NUL that ends them.
bool isLetter(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    // Latin-1 and Latin Extended-A and -B without the signs among them,
    // Greek and Cyrillic: the letters of the game's code pages.
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) ||
        (c >= 0x400 && c <= 0x4FF);
}

bool takes(char32_t c, bool first)
{
    if (isLetter(c) || (c >= '0' && c <= '9') || c == '_')
        return true;
    return !first && (c == '-' || c == '\'');
}

// FNV-1a over the bytes of `text`: the same on every machine and in every
// version, so that a script keeps its name.
std::uint32_t stableHash(std::string_view text)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

std::string hexOf(std::uint32_t value)
{
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (std::size_t i = 8; i-- > 0; value >>= 4)
        text[i] = kDigits[value & 0xF];
    return text;
}

} // namespace

ScriptName scriptNameOf(std::string_view npcId)
{
    const std::string lower = lowerCase(npcId);
    ScriptName result;
    // Each of the id's characters as the name holds it: itself, or "_" for a
    // blank and for one that the name cannot hold. Each code point is one
    // byte of the game's code page.
    const auto eachCharacter = [&](auto &&take) {
        std::size_t count = 0;
        for (std::size_t at = 0; at < lower.size(); ++count) {
            const std::size_t start = at;
            const char32_t c = decodeUtf8(lower, at);
            const bool kept = c != ' ' && takes(c, count == 0);
            if (!take(kept ? std::string_view(lower).substr(start, at - start) : "_",
                      c != ' ' && !kept))
                break;
        }
    };
    std::size_t characters = 0;
    eachCharacter([&](std::string_view, bool replaced) {
        ++characters;
        result.replaced = result.replaced || replaced;
        return true;
    });
    // A hash of the whole id keeps apart the ids that come to the same name
    // once refused characters are replaced ("a;b", "a:b") or once cut short.
    const std::size_t room = kScriptNameLimit - kSuffix.size();
    const bool hashed = result.replaced || characters > room;
    const std::size_t limit = hashed ? room - 9 : room; // "_" and eight hexadecimal digits
    result.shortened = characters > limit;
    result.name.reserve(kScriptNameLimit * 2);
    std::size_t kept = 0;
    eachCharacter([&](std::string_view character, bool) {
        if (kept++ == limit)
            return false;
        result.name += character;
        return true;
    });
    if (hashed)
        result.name.append("_").append(hexOf(stableHash(lower)));
    result.name += kSuffix;
    return result;
}

std::string scheduleScriptName(std::string_view npcId)
{
    return scriptNameOf(npcId).name;
}

} // namespace hw
