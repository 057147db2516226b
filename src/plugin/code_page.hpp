#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hw {

/// The single-byte code pages in which the game's language editions store ids.
enum class CodePage {
    Windows1252, ///< Western European: the English, German and French editions
    Windows1251, ///< Cyrillic: the Russian edition
    Windows1250, ///< Central European: the Polish edition
};

/// The code page's name as the command line spells it: "windows-1252" and so on.
std::string_view codePageName(CodePage page);

/// The code page named `name` ("windows-1252", "windows-1251", "windows-1250",
/// letter case ignored), or nothing for any other name.
std::optional<CodePage> codePageFromName(std::string_view name);

/// Converts `bytes` of `page` to UTF-8, one character per byte. Every byte has
/// a character: bytes that the code page leaves undefined become the C1
/// control of the same number (U+0080 to U+009F), as Windows converts them,
/// and NUL stays NUL.
std::string toUtf8(std::string_view bytes, CodePage page);

/// A UTF-8 text converted to a code page, or why it could not be.
struct CodePageText
{
    std::string bytes; ///< one byte per character; empty when refused
    /// Names the first character that the page has no byte for, or the first
    /// byte that is not UTF-8: `"Ω" (U+03A9) is not in windows-1252`; empty
    /// when the whole text was converted.
    std::string problem;
    std::size_t at = 0; ///< where that character begins in the UTF-8 text

    bool ok() const { return problem.empty(); }
};

/// Converts the UTF-8 `text` to `page`, the reverse of toUtf8: every character
/// that toUtf8 gives for a byte of the page becomes that byte again.
CodePageText fromUtf8(std::string_view text, CodePage page);

} // namespace hw
