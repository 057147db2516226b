#include "model/number.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace hw {
namespace {

bool isIgnored(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A cursor over the text that steps over ignored characters.
class Cursor
{
public:
    explicit Cursor(std::string_view s)
        : m_s(s)
    {
        skip();
    }
    bool atEnd() const { return m_i >= m_s.size(); }
    char peek() const { return atEnd() ? '\0' : m_s[m_i]; }
    void advance()
    {
        ++m_i;
        skip();
    }

private:
    void skip()
    {
        while (m_i < m_s.size() && isIgnored(m_s[m_i]))
            ++m_i;
    }
    std::string_view m_s;
    std::size_t m_i = 0;
};

int radixDigit(char c, int radix)
{
    int d = 99;
    if (isDigit(c))
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < radix ? d : -1;
}

std::optional<double> readRadix(Cursor &cur, int radix)
{
    double value = 0;
    for (int d; (d = radixDigit(cur.peek(), radix)) >= 0; cur.advance()) {
        value = value * radix + d;
        if (std::isinf(value))
            return std::nullopt;
    }
    return value;
}

// Reads a number from the cursor on and leaves the cursor after it.
std::optional<double> readAt(Cursor &cur)
{
    if (cur.peek() == '&') {
        cur.advance();
        const char r = cur.peek();
        if (r == 'H' || r == 'h' || r == 'O' || r == 'o') {
            cur.advance();
            return readRadix(cur, (r == 'H' || r == 'h') ? 16 : 8);
        }
        return 0.0;
    }

    // The mantissa is collected without leading zeros and without its point;
    // `magnitude` counts the places that its first digit stands before the
    // point, so that the value is 0.<digits> * 10^magnitude.
    bool negative = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
        negative = cur.peek() == '-';
        cur.advance();
    }
    std::string digits;
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    bool afterPoint = false;
    for (;; cur.advance()) {
        const char c = cur.peek();
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (isDigit(c)) {
            anyDigit = true;
            if (c == '0' && digits.empty()) {
                if (afterPoint)
                    --magnitude;
            } else {
                digits += c;
                if (!afterPoint)
                    ++magnitude;
            }
        } else {
            break;
        }
    }
    if (!anyDigit)
        return negative ? -0.0 : 0.0;

    // The exponent counts only when at least one digit follows its letter.
    std::int64_t exponent = 0;
    const char e = cur.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        cur.advance();
        bool negativeExponent = false;
        if (cur.peek() == '+' || cur.peek() == '-') {
            negativeExponent = cur.peek() == '-';
            cur.advance();
        }
        for (; isDigit(cur.peek()); cur.advance()) {
            if (exponent < 1'000'000'000) // saturate: far beyond any double
                exponent = exponent * 10 + (cur.peek() - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (digits.empty()) // zero, whatever its exponent
        return negative ? -0.0 : 0.0;

    const std::int64_t scale = magnitude + exponent; // value is in [10^(scale-1), 10^scale)
    if (scale > 310)
        return std::nullopt;
    if (scale < -330)
        return negative ? -0.0 : 0.0;

    // Hand from_chars a short, canonical text: 0.<digits>e<scale>.
    digits.resize(std::min<std::size_t>(digits.size(), 800));
    std::string canonical = "0.";
    canonical += digits;
    canonical += 'e';
    canonical += std::to_string(scale);
    double value = 0;
    const auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(),
                                           value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (scale > 0)
            return std::nullopt;
        value = 0;
    } else if (ec != std::errc {} || end != canonical.data() + canonical.size()) {
        throw std::logic_error("readNumber: canonical text not read: " + canonical);
    }
    if (std::isinf(value))
        return std::nullopt;
    return negative ? -value : value;
}

// A whole number already in its stored form: "0", or an optional minus and up
// to 15 digits without a leading zero. Most fields hold one, and it stays as
// it is.
bool isStoredWholeNumber(std::string_view text)
{
    if (text == "0")
        return true;
    if (text.starts_with('-'))
        text.remove_prefix(1);
    return !text.empty() && text.size() <= 15 && text.front() != '0' &&
        std::all_of(text.begin(), text.end(), isDigit);
}

} // namespace

std::optional<double> readNumber(std::string_view text)
{
    Cursor cur(text);
    return readAt(cur);
}

bool readsAsNumber(std::string_view text)
{
    Cursor cur(text);
    readAt(cur);
    return cur.atEnd();
}

std::string writeNumber(double value)
{
    if (!std::isfinite(value))
        throw std::invalid_argument("writeNumber: value is not finite");
    if (value == 0)
        return "0";

    // 15 significant digits, correctly rounded: d.dddddddddddddde±X
    std::array<char, 64> buf {};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                   std::chars_format::scientific, 14);
    if (res.ec != std::errc {})
        throw std::logic_error("writeNumber: to_chars failed");
    std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));

    const bool negative = sci.front() == '-';
    if (negative)
        sci.remove_prefix(1);
    const auto ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::string_view expText = sci.substr(ePos + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    std::string out = negative ? "-" : "";
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits);
            out += '.';
            out += digits.substr(intDigits);
        }
    }
    return out;
}

std::optional<std::string> normaliseNumber(std::string_view text)
{
    if (isStoredWholeNumber(text))
        return std::string(text);
    const auto value = readNumber(text);
    if (!value)
        return std::nullopt;
    return writeNumber(*value);
}

} // namespace hw
