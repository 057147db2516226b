#pragma once

#include <string>

namespace hw {

/// Appends the UTF-8 form of the code point `cp` (at most U+10FFFF, not a
/// surrogate) to `out`: one to four bytes.
void appendUtf8(std::string &out, char32_t cp);

} // namespace hw
