#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hw {

/// Reads a number option's text: blanks, tabs and line feeds are ignored
/// wherever they stand; then an optional sign, digits, an optional "." with
/// digits and an optional exponent (E or D, optional sign, digits) are taken,
/// up to the first character that does not fit. A text with no digits reads
/// as 0. "&H" and "&O" (any case) introduce a hexadecimal or octal whole
/// number, read without sign. Never depends on the C locale.
/// Returns nullopt when the value is too large for a double; values too small
/// for one read as 0.
std::optional<double> readNumber(std::string_view text);

/// True when readNumber takes every character of `text`, the ignored ones
/// aside: "1e3", "&H10", " - 5", "" and "-" are read whole, "12abc" is not.
bool readsAsNumber(std::string_view text);

/// Writes `value` as the shortest plain decimal text with at most 15
/// significant digits: "." as the point, "-" for negatives, no "+", no
/// trailing zeros, "0" before a leading point, and never an exponent (large
/// and tiny magnitudes are written out with zeros, as the game's script
/// compiler reads only plain decimals). -0 is written "0".
/// `value` must be finite.
std::string writeNumber(double value);

/// readNumber followed by writeNumber: the text a number option stores.
/// nullopt when the value does not fit a double.
std::optional<std::string> normaliseNumber(std::string_view text);

} // namespace hw
