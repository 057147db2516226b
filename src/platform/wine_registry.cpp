#include "platform/wine_registry.hpp"

#include "model/caseless.hpp"
#include "model/utf8.hpp"

#include <algorithm>
#include <limits>

namespace hw {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::size_t kChunkSize = 64 * 1024;

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void skipSpaces(std::string_view s, std::size_t &pos)
{
    while (pos < s.size() && isSpace(s[pos]))
        ++pos;
}

// Decoded code units: the first `keep` are kept (when there is somewhere to
// keep them), all are counted.
struct Units
{
    std::u16string *out = nullptr;
    std::size_t keep = 0;
    std::size_t count = 0;

    void add(char32_t unit)
    {
        if (out && out->size() < keep)
            out->push_back(static_cast<char16_t>(unit));
        ++count;
    }
};

// Takes one character that is not an escape: ASCII as it is, a valid UTF-8
// sequence as its code point (in two units above U+FFFF); each byte that
// begins no valid sequence is dropped, as Wine drops them.
void takeCharacter(std::string_view s, std::size_t &pos, Units &units)
{
    char32_t cp = decodeUtf8(s, pos);
    if (isInvalidByte(cp))
        return;
    if (cp <= 0xFFFF) {
        units.add(cp);
    } else {
        cp -= 0x10000;
        units.add(0xD800 | (cp >> 10));
        units.add(0xDC00 | (cp & 0x3FF));
    }
}

// Decodes escaped text from `pos` up to the first unescaped `end` and leaves
// `pos` after it. False when the line ends first.
bool decodeText(std::string_view s, std::size_t &pos, char end, Units &units)
{
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == end) {
            ++pos;
            return true;
        }
        if (c != '\\') {
            takeCharacter(s, pos, units);
            continue;
        }
        if (++pos == s.size())
            return false;
        const char e = s[pos];
        constexpr std::string_view letters = "abefnrtv";
        constexpr char16_t controls[] = {7, 8, 27, 12, 10, 13, 9, 11};
        if (const auto k = letters.find(e); k != std::string_view::npos) {
            units.add(controls[k]);
            ++pos;
        } else if (e == 'x') {
            ++pos;
            char32_t value = 'x'; // "\x" without digits stands for "x"
            for (int n = 0; n < 4 && pos < s.size() && hexDigit(s[pos]) >= 0; ++n, ++pos)
                value = (n == 0 ? 0 : value * 16) + static_cast<char32_t>(hexDigit(s[pos]));
            units.add(value);
        } else if (e >= '0' && e <= '7') {
            char32_t value = 0;
            for (int n = 0; n < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++n, ++pos)
                value = value * 8 + static_cast<char32_t>(s[pos] - '0');
            units.add(value);
        } else {
            takeCharacter(s, pos, units); // any other escaped character is itself
        }
    }
    return false;
}

bool startsWith(std::string_view s, std::size_t pos, std::string_view prefix)
{
    return s.substr(pos, prefix.size()) == prefix;
}

// Feeds the file's text line by line to the queries and keeps what they find.
class Scanner
{
public:
    explicit Scanner(std::span<const RegistryQuery> queries)
        : m_queries(queries)
        , m_results(queries.size())
    { }

    void feed(std::string_view chunk);
    std::vector<RegistryValue> finish();

private:
    enum class State { Header, Body, NotRegistry };

    void line(std::string_view text, bool cut);
    void keyLine(std::string_view text);
    void valueLine(std::string_view text, bool cut);
    void hexBytes(std::string_view text, std::size_t pos, bool cut);
    void endHex(bool ok);
    void store(const RegistryValue &value);

    std::span<const RegistryQuery> m_queries;
    std::vector<RegistryValue> m_results;
    State m_state = State::Header;
    std::string m_partial; // the start of a line that the last chunk did not end
    bool m_partialCut = false;
    std::vector<std::size_t> m_keyMatches; // queries whose key is the current section
    std::vector<std::size_t> m_targets; // queries that the value being read answers
    // A hex value, possibly continued on the next lines.
    bool m_continued = false;
    std::uint32_t m_hexType = kRegNone;
    std::string m_bytes;
    std::size_t m_byteCount = 0;
    // Reused for every name, so that reading does not allocate per line.
    std::u16string m_name;
    std::string m_utf8;
};

void Scanner::feed(std::string_view chunk)
{
    while (!chunk.empty() && m_state != State::NotRegistry) {
        const auto newline = chunk.find('\n');
        const auto piece = chunk.substr(0, newline);
        if (newline != std::string_view::npos && m_partial.empty() && !m_partialCut) {
            line(piece.substr(0, kRegistryLineLimit), piece.size() > kRegistryLineLimit);
        } else {
            const std::size_t room = kRegistryLineLimit - m_partial.size();
            m_partial.append(piece.substr(0, room));
            m_partialCut = m_partialCut || piece.size() > room;
            if (newline != std::string_view::npos) {
                line(m_partial, m_partialCut);
                m_partial.clear();
                m_partialCut = false;
            }
        }
        if (newline == std::string_view::npos)
            break;
        chunk.remove_prefix(newline + 1);
    }
}

std::vector<RegistryValue> Scanner::finish()
{
    if (!m_partial.empty() || m_partialCut) {
        line(m_partial, m_partialCut);
        m_partial.clear();
        m_partialCut = false;
    }
    if (m_continued) // the file ended inside a continued value
        endHex(false);
    return std::move(m_results);
}

void Scanner::line(std::string_view text, bool cut)
{
    if (!cut && !text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (m_state == State::Header) {
        m_state = !cut && text == kHeader ? State::Body : State::NotRegistry;
        return;
    }
    if (m_continued) {
        m_continued = false;
        std::size_t pos = 0;
        skipSpaces(text, pos);
        hexBytes(text, pos, cut);
        return;
    }
    std::size_t pos = 0;
    skipSpaces(text, pos);
    text.remove_prefix(pos);
    if (text.empty())
        return;
    if (text[0] == '[')
        keyLine(text);
    else if (text[0] == '"' || text[0] == '@')
        valueLine(text, cut);
    // Options ("#time=", "#arch="), comments and anything else say nothing
    // about values.
}

void Scanner::keyLine(std::string_view text)
{
    // Values after a damaged section line belong to no key.
    m_keyMatches.clear();
    m_name.clear();
    Units units {&m_name, kRegistryLineLimit};
    std::size_t pos = 1;
    if (!decodeText(text, pos, ']', units))
        return;
    m_utf8.clear();
    appendUtf16AsUtf8(m_utf8, m_name);
    for (std::size_t i = 0; i < m_queries.size(); ++i) {
        if (caselessEqual(m_utf8, m_queries[i].key)) {
            m_keyMatches.push_back(i);
            m_results[i].keyFound = true;
        }
    }
}

void Scanner::valueLine(std::string_view text, bool cut)
{
    m_targets.clear();
    const bool wanted = !m_keyMatches.empty();
    // Outside the keys asked for, a value matters only when it goes on to the
    // next line, which takes a backslash.
    if (!wanted && text.find('\\') == std::string_view::npos)
        return;
    m_name.clear();
    std::size_t pos = 1;
    if (text[0] == '"') {
        Units units {wanted ? &m_name : nullptr, kRegistryLineLimit};
        if (!decodeText(text, pos, '"', units))
            return; // a damaged name: Wine passes over the whole line
    }
    skipSpaces(text, pos);
    if (pos == text.size() || text[pos] != '=')
        return;
    ++pos;
    skipSpaces(text, pos);
    if (wanted) {
        m_utf8.clear();
        appendUtf16AsUtf8(m_utf8, m_name);
        for (const auto i : m_keyMatches)
            if (caselessEqual(m_utf8, m_queries[i].value))
                m_targets.push_back(i);
    }

    RegistryValue value;
    std::uint32_t stringType = kRegNone;
    if (startsWith(text, pos, "\""))
        stringType = kRegSz, pos += 1;
    else if (startsWith(text, pos, "str:\""))
        stringType = kRegSz, pos += 5;
    else if (startsWith(text, pos, "str(2):\""))
        stringType = kRegExpandSz, pos += 8;
    else if (startsWith(text, pos, "str(7):\""))
        stringType = kRegMultiSz, pos += 8;

    if (stringType != kRegNone) {
        Units units {m_targets.empty() ? nullptr : &value.text, kRegistryKeptUnits};
        if (decodeText(text, pos, '"', units)) {
            units.add(0); // the text's terminating NUL is part of its data
            value.type = stringType;
            value.length = units.count;
        } else if (cut) {
            value.type = stringType;
            value.length = std::numeric_limits<std::size_t>::max();
        } else {
            value.text.clear(); // no closing quote: Wine keeps the value empty
        }
        store(value);
        return;
    }
    if (startsWith(text, pos, "dword:")) {
        value.type = kRegDword;
        store(value);
        return;
    }
    if (startsWith(text, pos, "hex:")) {
        m_hexType = kRegBinary;
        pos += 4;
    } else if (startsWith(text, pos, "hex(")) {
        pos += 4;
        std::uint64_t type = 0;
        for (; pos < text.size() && hexDigit(text[pos]) >= 0; ++pos)
            type = std::min<std::uint64_t>(
                type * 16 + static_cast<std::uint64_t>(hexDigit(text[pos])), 0xFFFFFFFFu);
        if (!startsWith(text, pos, "):")) {
            store(value);
            return;
        }
        pos += 2;
        m_hexType = static_cast<std::uint32_t>(type);
    } else {
        store(value); // an unknown kind of data
        return;
    }
    m_bytes.clear();
    m_byteCount = 0;
    hexBytes(text, pos, cut);
}

// Reads "xx,xx,..." from `pos`; a backslash at the end continues the value
// on the next line.
void Scanner::hexBytes(std::string_view text, std::size_t pos, bool cut)
{
    while (pos < text.size() && hexDigit(text[pos]) >= 0) {
        unsigned byte = 0;
        for (; pos < text.size() && hexDigit(text[pos]) >= 0; ++pos) {
            byte = byte * 16 + static_cast<unsigned>(hexDigit(text[pos]));
            if (byte > 0xFF) {
                endHex(false);
                return;
            }
        }
        if (!m_targets.empty() && m_bytes.size() < 2 * kRegistryKeptUnits)
            m_bytes.push_back(static_cast<char>(byte));
        ++m_byteCount;
        skipSpaces(text, pos);
        if (pos < text.size() && text[pos] == ',')
            ++pos;
        skipSpaces(text, pos);
    }
    if (cut) { // the rest of the data is beyond what was kept of the line
        m_byteCount = std::numeric_limits<std::size_t>::max();
        endHex(true);
    } else if (pos == text.size()) {
        endHex(true);
    } else if (text[pos] == '\\') {
        m_continued = true;
    } else {
        endHex(false);
    }
}

void Scanner::endHex(bool ok)
{
    RegistryValue value;
    if (ok) {
        value.type = m_hexType;
        if (m_hexType == kRegSz || m_hexType == kRegExpandSz || m_hexType == kRegMultiSz) {
            // Strings are stored as UTF-16LE; an odd last byte is no character.
            for (std::size_t i = 0; i + 1 < m_bytes.size(); i += 2)
                value.text.push_back(
                    static_cast<char16_t>(static_cast<unsigned char>(m_bytes[i]) |
                                          static_cast<unsigned char>(m_bytes[i + 1]) << 8));
            value.length = m_byteCount == std::numeric_limits<std::size_t>::max() ? m_byteCount
                                                                                  : m_byteCount / 2;
        }
    }
    store(value);
}

void Scanner::store(const RegistryValue &value)
{
    for (const auto i : m_targets) {
        m_results[i] = value;
        m_results[i].keyFound = true;
        m_results[i].valueFound = true;
    }
}

} // namespace

std::vector<RegistryValue> readRegistry(std::string_view text,
                                        std::span<const RegistryQuery> queries)
{
    Scanner scanner(queries);
    scanner.feed(text);
    return scanner.finish();
}

std::vector<RegistryValue> readRegistry(std::istream &in, std::span<const RegistryQuery> queries)
{
    Scanner scanner(queries);
    std::string chunk(kChunkSize, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        scanner.feed(std::string_view(chunk).substr(0, static_cast<std::size_t>(in.gcount())));
    }
    return scanner.finish();
}

} // namespace hw
